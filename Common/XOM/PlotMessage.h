#pragma once
// Plot messages: what the device tells the user about a plot (stop icon). The host's error
// handler of the plot's definition gets them first, for its error list; then they are shown.
#include <string>

class HT_Error_Handler;

// An empty text becomes string 204 "Error", an empty caption string 203 "XOM Printer Message".
// errorHandler (the plot definition's) may be null: the message is then only shown.
void ShowPlotMessage(HT_Error_Handler* errorHandler, std::wstring text, std::wstring caption = {});
