// Grade fractions: the 41 grades an answer can carry, as parallel tables of percent and fraction texts.
// Texts are compared exactly, never read as numbers.
#pragma once

#include <string>

constexpr int kGradeCount = 41;
constexpr int kNeutralGradeIndex = 20;

// The fraction text of a percent text ("33.333" -> "0.33333"); "0" when the text is not in the table.
std::string GradePercentToFraction(const std::string& percent);
// The percent text of a fraction text ("0.5" -> "50"); "0" when the text is not in the table.
std::string GradeFractionToPercent(const std::string& fraction);
// The table index of a fraction text; 20 (grade "0") when the text is not in the table.
int GradeFractionToIndex(const std::string& fraction);
// The fraction text at index; "0" outside 0..40.
std::string GradeIndexToFraction(int index);
// The percent text at index; "0" outside 0..40.
std::string GradeIndexToPercent(int index);
