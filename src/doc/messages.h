#pragma once

// The user's messages, byte for byte as they are shown.
namespace msg {
inline constexpr const char* kCheckYoungsModulus = "Young's modulus값을 확인하세요";
inline constexpr const char* kCheckScaleFactor = "Scale factor값을 확인하세요";
inline constexpr const char* kEnterInteger = "정수를 입력하세요";
inline constexpr const char* kEnterPositiveInteger = "양의 정수를 입력하세요";
inline constexpr const char* kEnterNumber = "숫자를 입력하세요";
inline constexpr const char* kScaleFactorPositive = "Scale factor값은 0보다 커야합니다";
inline constexpr const char* kElasticMaxGreater = "Elastic Max.값은 Elastic Min.보다 커야합니다";
inline constexpr const char* kNotANumber = "실수가 아닌 데이터가 있습니다11";
inline constexpr const char* kLaminaeIncomplete = "Lamina 설정이 모두 완료되지 않았습니다";
// Our own bound on a count: "enter a count of at most 10000".
inline constexpr const char* kCountTooLarge = "Lamina 수는 10000 이하로 입력하세요";
} // namespace msg
