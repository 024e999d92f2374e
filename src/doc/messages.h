#pragma once

// The user's messages as the program's source texts; the translations
// (res/translations) show them in the user's language.
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
// The lamina form's numbers, one for each field of its ply row.
inline constexpr const char* kLaminaFieldNumber[4] = {"숫자를 입력하세요(FAW)", "숫자를 입력하세요(Thickness)",
                                                      "숫자를 입력하세요(Angle)", "숫자를 입력하세요(xi)"};
inline constexpr const char* kUnequalSeries = "데이터 갯수가 다릅니다";

// Every message above, for the translations' checks.
inline constexpr const char* kAll[] = {
    kCheckYoungsModulus, kCheckScaleFactor, kEnterInteger, kEnterPositiveInteger, kEnterNumber,
    kScaleFactorPositive, kElasticMaxGreater, kNotANumber, kLaminaeIncomplete, kCountTooLarge,
    kLaminaFieldNumber[0], kLaminaFieldNumber[1], kLaminaFieldNumber[2], kLaminaFieldNumber[3], kUnequalSeries};
} // namespace msg
