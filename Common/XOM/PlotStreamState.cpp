#include "Common/XOM/PlotStreamState.h"

PlotStreamState g_plotStream;
