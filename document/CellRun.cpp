#include "document/CellRun.h"

std::string CellRunText(const CellRun& run)
{
    if (run.IsEmpty())
        return std::string();
    if (run.first == run.last)
        return std::to_string(run.first);
    return std::to_string(run.first) + "\u2013" + std::to_string(run.last);
}
