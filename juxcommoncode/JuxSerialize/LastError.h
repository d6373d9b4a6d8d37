#pragma once
// CLastError: the result code of the last operation and a readable text beside it. Base of every
// serializer; shared code reports failures through it instead of throwing.
#include <string>

#include "juxcommoncode/JuxSerialize/ResultCodes.h"

namespace JuxNetwork {

class CLastError {
  public:
    virtual ~CLastError() = default;

    HRESULT GetResult() const { return m_result; }
    const std::wstring& GetErrorText() const { return m_errorText; }

    void SetResult(HRESULT hr) { m_result = hr; }
    void SetError(HRESULT hr, std::wstring text) {
        m_result = hr;
        m_errorText = std::move(text);
    }
    void ClearError() {
        m_result = kS_OK;
        m_errorText.clear();
    }

  protected:
    std::wstring m_errorText;
    HRESULT m_result = kS_OK;
};

}  // namespace JuxNetwork
