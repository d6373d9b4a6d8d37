#include "Common/XomDialogs/DlgMoreOptions.h"

CDlgMoreOptions::CDlgMoreOptions(DriverSettings& settings)
    : CXomDialog(kTemplate), m_settings(settings) {}

void CDlgMoreOptions::OnInitDialog() {
    W().SetCheck(kPromptAtPlotTime, m_settings.PromptAtPlotTime != 0);
    W().SetCheck(kDisableMediaWarning, m_settings.DisableMediaWarning != 0);
    W().SetCheck(kDirectToIp, m_settings.PlotDirectToIpAddress == 1);
    W().SetCheck(kToPort, m_settings.PlotDirectToIpAddress != 1);
    W().Enable(kPromptAtPlotTime, !m_settings.ForCurrentPlot);
}

void CDlgMoreOptions::OnOK() {
    m_settings.PromptAtPlotTime = W().GetCheck(kPromptAtPlotTime) ? 1 : 0;
    m_settings.DisableMediaWarning = W().GetCheck(kDisableMediaWarning) ? 1 : 0;
    m_settings.PlotDirectToIpAddress = W().GetCheck(kDirectToIp) ? 1 : 0;
    EndDialog(IDOK);
}
