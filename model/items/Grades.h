// Grade fractions: the 41 grades an answer can carry, as parallel tables of percent and fraction texts.
// The tables compare texts exactly, never read as numbers; only the credited-answer rule reads a number.
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

// The credited answer, the one rule every place that shows, stores, ticks or exports "the right answer"
// follows: a grade that is empty (blanks only count as empty) or a number above 0. A grade of "0", a
// negative (penalty) grade and a text that is no number are never the right answer.
bool IsCreditedGrade(const std::string& grade);
