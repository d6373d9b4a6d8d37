#pragma once
// Brightness, the two colour-balance shifts (each a slider with an edit, -60 to 60) and the two
// trapping switches of the settings record. OK writes them into the record; Cancel leaves it.
#include <string>

#include "Common/XomDialogs/XomDialog.h"
#include "Common/XomSettings/DriverSettings.h"

class CDlgSimpleColorOptions : public CXomDialog {
  public:
    static constexpr unsigned kTemplate = 510;
    static constexpr unsigned kBrightnessSlider = 1209, kBrightnessEdit = 1210;
    static constexpr unsigned kGreenRedSlider = 1213, kGreenRedEdit = 1214;
    static constexpr unsigned kBlueYellowSlider = 1215, kBlueYellowEdit = 1219;
    static constexpr unsigned kColorTrapping = 1221, kBlackTrapping = 1222;
    static constexpr int kLow = -60, kHigh = 60;

    explicit CDlgSimpleColorOptions(DriverSettings& settings);

  protected:
    void OnInitDialog() override;
    void OnControl(unsigned id, xomplatform::Notification what) override;
    void OnOK() override;

  private:
    void SliderMoved(unsigned slider, unsigned edit);
    void EditChanged(unsigned edit, unsigned slider);

    DriverSettings& m_settings;
};

// What an edit of a colour value keeps of typed text: the digits and a '-' in the first place,
// the number clamped to -60..60 (an empty or lone "-" text is 0). changed tells whether the text
// must be written back.
struct ColorEditValue {
    int value = 0;
    std::wstring text;
    bool changed = false;
};
ColorEditValue CleanColorEditText(const std::wstring& typed);
