#pragma once
// Numbers of the string-table texts the driver uses.
inline constexpr unsigned IDS_BRAND = 101;                // "XOM": the maker's brand word
inline constexpr unsigned IDS_PRINTER_MESSAGE = 203;      // "XOM Printer Message"
inline constexpr unsigned IDS_ERROR = 204;                // "Error"
inline constexpr unsigned IDS_SNMP_WILL_NOT_START = 210;  // "Snmp Manager will not start."
inline constexpr unsigned IDS_CANNOT_CONNECT = 211;       // "Cannot connect to printer."
inline constexpr unsigned IDS_PLOT_EMPTY = 215;           // "Plot is empty."
inline constexpr unsigned IDS_PLOT_INCOMPLETE = 216;      // "Plot incomplete: ..."
inline constexpr unsigned IDS_NETWORK_UNAVAILABLE = 217;  // "Network is not available."
inline constexpr unsigned IDS_PLOT_CANCELED = 218;        // "Plot canceled"
inline constexpr unsigned IDS_PLOT_COMPLETE = 219;        // "Plot complete"
inline constexpr unsigned IDS_CONNECTION_FAILED = 220;    // "Printer connection failed"
inline constexpr unsigned IDS_PLOT_TO_PORT = 278;         // "Plot to Windows printer port"
