#pragma once
// The local time a plot is stamped with. Replaceable so that logs and job streams of tests are
// reproducible.
#include <ctime>
#include <functional>

using LocalTimeSource = std::function<std::tm()>;

// The current local time (or the installed source's; or, when the environment sets
// SOURCE_DATE_EPOCH, that moment in UTC).
std::tm PlotLocalTime();
// Installs a source and returns the previous one; an empty source restores the system clock.
LocalTimeSource SetPlotClock(LocalTimeSource source);
