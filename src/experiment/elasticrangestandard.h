#pragma once

#include <iterator>

// The elastic ranges (% strain) the tensile standards prescribe for the modulus, as
// the ribbon offers them and the report names them. The texts are those the ribbon
// writes; they read back to low and high.
struct ElasticRangeStandard {
    const char* name;
    const char* low_text;
    const char* high_text;
    double low;
    double high;
};

inline constexpr ElasticRangeStandard kElasticRangeStandards[] = {
    {"ASTM D3039", "0.1", "0.3", 0.1, 0.3},
    {"ISO 527", "0.05", "0.25", 0.05, 0.25},
};
inline constexpr int kElasticRangeStandardCount = static_cast<int>(std::size(kElasticRangeStandards));

// The standard whose range this is, or nullptr.
inline const ElasticRangeStandard* FindElasticRangeStandard(double low, double high)
{
    for (const ElasticRangeStandard& standard : kElasticRangeStandards)
        if (low == standard.low && high == standard.high)
            return &standard;
    return nullptr;
}
