#include "Common/XomDialogs/DlgSimpleColorOptions.h"

#include <algorithm>

namespace {

constexpr unsigned kSliders[] = {CDlgSimpleColorOptions::kBrightnessSlider,
                                 CDlgSimpleColorOptions::kGreenRedSlider,
                                 CDlgSimpleColorOptions::kBlueYellowSlider};
constexpr unsigned kEdits[] = {CDlgSimpleColorOptions::kBrightnessEdit,
                               CDlgSimpleColorOptions::kGreenRedEdit,
                               CDlgSimpleColorOptions::kBlueYellowEdit};
constexpr std::size_t kMaxReadChars = 19;
constexpr int kCaretAfter = 5;

int Clamp(long long value) {
    return static_cast<int>(
        std::clamp<long long>(value, CDlgSimpleColorOptions::kLow, CDlgSimpleColorOptions::kHigh));
}

}  // namespace

ColorEditValue CleanColorEditText(const std::wstring& typed) {
    const std::wstring read = typed.substr(0, kMaxReadChars);
    std::wstring kept;
    for (std::size_t i = 0; i < read.size(); ++i) {
        const wchar_t c = read[i];
        if ((c >= L'0' && c <= L'9') || (c == L'-' && i == 0)) kept += c;
    }
    ColorEditValue result;
    long long number = 0;
    const bool negative = !kept.empty() && kept[0] == L'-';
    for (wchar_t c : kept) {
        if (c == L'-') continue;
        number = std::min<long long>(number * 10 + (c - L'0'), 1000);  // far past the range
    }
    result.value = Clamp(negative ? -number : number);
    result.text = kept;
    const bool digits = kept.size() > (negative ? 1u : 0u);
    if (digits && (negative ? -number : number) != result.value)
        result.text = std::to_wstring(result.value);
    result.changed = result.text != read || read.size() != typed.size();
    return result;
}

CDlgSimpleColorOptions::CDlgSimpleColorOptions(DriverSettings& settings)
    : CXomDialog(kTemplate), m_settings(settings) {}

void CDlgSimpleColorOptions::OnInitDialog() {
    const int values[] = {m_settings.Brightness, m_settings.GreenRedShift,
                          m_settings.BlueYellowShift};
    for (std::size_t i = 0; i < std::size(kSliders); ++i) {
        W().SetSliderRange(kSliders[i], kLow, kHigh, 10, 1);
        W().SetSliderPosition(kSliders[i], Clamp(values[i]));
        W().SetTextLimit(kEdits[i], 3);
        W().SetText(kEdits[i], std::to_wstring(W().GetSliderPosition(kSliders[i])));
    }
    W().SetCheck(kColorTrapping, m_settings.ColorTrapping != 0);
    W().SetCheck(kBlackTrapping, m_settings.BlackTrapping != 0);
}

void CDlgSimpleColorOptions::OnControl(unsigned id, xomplatform::Notification what) {
    if (what != xomplatform::Notification::Changed) return;
    for (std::size_t i = 0; i < std::size(kSliders); ++i) {
        if (id == kSliders[i]) SliderMoved(kSliders[i], kEdits[i]);
        if (id == kEdits[i]) EditChanged(kEdits[i], kSliders[i]);
    }
}

void CDlgSimpleColorOptions::SliderMoved(unsigned slider, unsigned edit) {
    const int position = W().GetSliderPosition(slider);
    const int clamped = Clamp(position);
    if (clamped != position) W().SetSliderPosition(slider, clamped);
    W().SetText(edit, std::to_wstring(clamped));
    W().SetFocus(edit);
}

void CDlgSimpleColorOptions::EditChanged(unsigned edit, unsigned slider) {
    const ColorEditValue cleaned = CleanColorEditText(W().GetText(edit));
    if (cleaned.changed) {
        // Writing the corrected text back reports a change again, which then moves the slider.
        W().SetText(edit, cleaned.text);
        W().SetCaret(edit, std::min<int>(kCaretAfter, static_cast<int>(cleaned.text.size())));
    } else {
        W().SetSliderPosition(slider, cleaned.value);
    }
}

void CDlgSimpleColorOptions::OnOK() {
    m_settings.Brightness = W().GetSliderPosition(kBrightnessSlider);
    m_settings.GreenRedShift = W().GetSliderPosition(kGreenRedSlider);
    m_settings.BlueYellowShift = W().GetSliderPosition(kBlueYellowSlider);
    m_settings.ColorTrapping = W().GetCheck(kColorTrapping) ? 1 : 0;
    m_settings.BlackTrapping = W().GetCheck(kBlackTrapping) ? 1 : 0;
    EndDialog(IDOK);
}
