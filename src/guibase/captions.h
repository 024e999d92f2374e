#pragma once

#include <QString>

// Texts compared wherever they are used: window captions, tree items, titles.
namespace captions {
inline constexpr const char* kAppTitle = "Devivadazu Dudiverodi Vazerovuze Zozezaz";
inline constexpr const char* kTheoreticalFormula = "Theoretical Formula";
inline constexpr const char* kExperimentalFormula = "Experimental Formula";
inline constexpr const char* kTheory = "Theory";
inline constexpr const char* kTheoryResult = "Theoretical Formula Result";
inline constexpr const char* kExperimentResult = "Experimental Formula Result";
inline constexpr const char* kTheoreticalLamina = "Theoretical Lamina #";
inline constexpr const char* kExperimentalLamina = "Experimental Lamina #";
inline constexpr const char* kTheoryView = "Theory View";
inline constexpr const char* kLamina = "Lamina #";

// "Theoretical Lamina #3", "Experimental Lamina #3": the caption of the main view
// showing that record, and its item in the tree.
inline QString TheoryLaminaTitle(int n) { return QString("%1%2").arg(kTheoreticalLamina).arg(n); }
inline QString ExperimentLaminaTitle(int n) { return QString("%1%2").arg(kExperimentalLamina).arg(n); }
} // namespace captions
