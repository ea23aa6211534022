// Small utilities shared by many units: date-time values, time texts and backup stamps, dotted chapter
// numbers and the comparisons of the book-list sort, and short text helpers.
#pragma once

#include "model/items/Records.h"
#include "platform/sys/SystemServices.h"

#include <cstdint>
#include <string>
#include <string_view>

// --- Date-time values (days since 1899-12-30, the time of day as the fraction) ---

// The local calendar date and time as a date-time value.
TDateTime EncodeDateTime(const lf::sys::LocalDateTime& when);
// The calendar date and time of a date-time value, to the millisecond.
lf::sys::LocalDateTime DecodeDateTime(TDateTime value);

// --- Time ---

// Seconds since 1970-01-01 00:00 UTC.
std::int64_t TimeNow();
// "h:mm:ss": hours with as many digits as needed, minutes and seconds with two (65 gives "0:01:05").
// A negative count is written with a leading "-".
std::string SecondsToTimeText(std::int64_t seconds);
// The local time of a moment as "yyyy_mm_dd_hh_mm_ss", the stamp of backup file names;
// "xxxx_xx_xx_xx_xx_xx" when the moment has no valid local time.
std::string MakeBackupTimeStamp(std::int64_t utcSeconds);

// --- Dotted chapter numbers ("1.2.10") ---

// Number of "." in the text plus 1.
int GetLayerDepth(std::string_view text);
// The k-th number (1-based) of the text: non-digits before it are skipped, digits up to the next "." make
// the number, other characters inside the part are ignored. -1 when the part holds no digit or does not
// exist. A number too large for an int gives the largest int.
int GetLayerNumberPart(std::string_view text, int k);
// Compares two chapter numbers part by part as numbers, then by depth: "1.2" < "1.10", "2" < "2.1".
// With emptyLast an empty text sorts after every other one. Negative, 0 or positive.
int CompareLayerNumbers(std::string_view a, std::string_view b, bool emptyLast);

// Byte-wise comparison: negative, 0 or positive.
int CompareTexts(std::string_view a, std::string_view b);
// 1 when b is later than a, -1 when it is earlier, 0 when equal.
int CompareDateTimes(TDateTime a, TDateTime b);

// --- Text helpers ---

// True for "0" to "9", and for "." when allowPoint is set.
bool IsDigitChar(char c, bool allowPoint);
// The text without blanks, "-", "'", ".", ",", CR, LF, tabs and double quotation marks: the form in which
// question texts are searched and filtered.
std::string NormalizeSearchText(std::string_view text);
// The lines of a text file: CR LF, CR or LF end a line; a final line break makes no extra empty line, and
// the empty text has none.
CStringArray SplitTextLines(std::string_view text);
// Replaces every "%" and two hexadecimal digits by the byte they give; any other "%" stays as it is.
std::string DecodePercentEscapes(std::string_view text);
// Label of answer choice n in pasted questions, after the parser numbering options (as CPrefs gives
// them): type 0 digits, any other letters; format 0 "1.", 1 "a)", 2 "(c)", any other the bare label.
// "Error." when letters are asked for n of 25 or more.
std::string GetAnswerNumberLabel(int n, int numberingType, int numberingFormat);
// The same after the options object's parser numbering options (the defaults when there is none), as the
// clipboard parsers label answers.
std::string GetAnswerNumberLabel(int n);
