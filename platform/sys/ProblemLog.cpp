#include "platform/sys/ProblemLog.h"

#include <atomic>

namespace lf::sys
{

namespace
{

std::atomic<ProblemSink> g_sink{nullptr};

} // namespace

void SetProblemSink(ProblemSink sink)
{
    g_sink.store(sink);
}

void ReportProblem(const std::string& line)
{
    if (const ProblemSink sink = g_sink.load())
        sink(line);
}

} // namespace lf::sys
