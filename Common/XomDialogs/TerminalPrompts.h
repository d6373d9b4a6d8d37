#pragma once
// The plot identification without a display: the values the printer's rules still lack are asked
// on the terminal (a password without echo), as the identification dialog would ask them.
#include <cstdio>
#include <string>

#include "Common/XomSettings/DriverSettings.h"
#include "juxcommoncode/PrinterData/PrinterData.h"

// Turns the terminal's echo off while it lives (nothing when fd is not a terminal).
class CTerminalEchoOff {
  public:
    explicit CTerminalEchoOff(int fd);
    ~CTerminalEchoOff();
    CTerminalEchoOff(const CTerminalEchoOff&) = delete;
    CTerminalEchoOff& operator=(const CTerminalEchoOff&) = delete;

  private:
    int m_fd;
    bool m_restore = false;
    unsigned m_savedFlags = 0;
};

// One line of UTF-8 input without its line end, whatever its length; false at the end of input.
bool ReadTerminalLine(std::FILE* in, std::wstring& line);

// Asks, for each field that fails the printer's rules, its value (a listed name may be given by
// its number) and, when the rules want one, its password; at most three rounds. False when the
// input ends or the rules still fail; the settings then keep what was typed.
bool CompletePlotIdentificationOnTerminal(DriverSettings& settings,
                                          const CXomPrinterData& printerData, std::FILE* in,
                                          std::FILE* out);

// Whether anything can ask the user at plot time: dialogs can be shown, or standard input is a
// terminal.
bool PlotTimePromptAvailable();

// The plot-time identification by the means at hand: the dialog when dialogs can be shown, else
// the terminal when standard input is one. False when the user cancels or nothing can ask (the
// plot is then cancelled with a message saying which value is missing and how to give it).
bool CompletePlotIdentificationInteractively(DriverSettings& settings,
                                             const CXomPrinterData& printerData);
