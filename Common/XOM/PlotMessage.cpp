#include "Common/XOM/PlotMessage.h"

#include "Common/XOM/LocalizedString.h"
#include "Common/XOM/StringIds.h"
#include "hdi/HT_Error.h"
#include "platform/MessageService.h"

void ShowPlotMessage(HT_Error_Handler* errorHandler, std::wstring text, std::wstring caption) {
    if (text.empty()) LoadLocalizedString(IDS_ERROR, text);
    if (caption.empty()) LoadLocalizedString(IDS_PRINTER_MESSAGE, caption);
    if (errorHandler != nullptr) errorHandler->show_message(text, caption, HT_ICON_STOP);
    xomplatform::ShowMessage(text, caption, xomplatform::MessageIcon::Stop);
}
