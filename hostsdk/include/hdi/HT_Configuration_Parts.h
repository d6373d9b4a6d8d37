#pragma once
// The parts a plotter configuration is made of: the chosen media, where the plot goes, the pen
// assignments, resolution and colour, start-up strings and the driver's custom items. Each part
// copies itself.
#include <string>

#include "hdi/HT_Capability_Parts.h"
#include "hdi/HT_Custom_Data.h"

class HT_Media_Configuration : public HT_Copyable_Part<HT_Media_Configuration> {
  public:
    HT_Media_Size size;
    std::wstring source;
    int copies = 1;
};

class HT_IO_Configuration : public HT_Copyable_Part<HT_IO_Configuration> {
  public:
    bool plot_to_file = true;
    std::wstring output_file;  // plot to file: the file's path
    std::wstring port;         // plot to port: a device path, or "|command" for a print command
};

class HT_Phys_Pen_Configuration : public HT_Copyable_Part<HT_Phys_Pen_Configuration> {
  public:
    int assigned_pens = 0;
};

class HT_ResColorMem_Configuration : public HT_Copyable_Part<HT_ResColorMem_Configuration> {
  public:
    HT_Resolution resolution;
    HT_Color_Mode color_mode;
};

class HT_Init_Term_Configuration : public HT_Copyable_Part<HT_Init_Term_Configuration> {
  public:
    bool send_init = false;
    bool send_term = false;
};

class HT_Custom_Configuration : public HT_Copyable_Part<HT_Custom_Configuration> {
  public:
    // The driver's named items, kept with the configuration from one run to the next.
    HT_Custom_Config_List items;
};
