// The expression evaluator of calculated questions and the calculator.
#include "model/formulas/Mathexpression.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string result;
    TestBrackets(text);
    CalcExpression(text, result);
    CalcGraphExpression(text, 1.5L, result);
    long double first = 0;
    long double second = 0;
    int count = 0;
    ExtractFloatsFromStr(text, first, second, count);
    long double value = 0;
    CalcTextToFloat(text, value);
    return 0;
}
