#include "hdi/HT_Custom_Data.h"

#include <algorithm>
#include <cstdint>
#include <cwchar>

SPMP<HT_Custom_Data> HT_Custom_Item::default_data() const {
    if (type == L"long") {
        wchar_t* end = nullptr;
        const long long v = std::wcstoll(default_value.c_str(), &end, 10);
        const bool whole = end != nullptr && *end == L'\0' && !default_value.empty() &&
                           v >= INT32_MIN && v <= INT32_MAX;
        return SPMP<HT_Custom_Data>(
            new HT_Std_Long_Custom_Data(whole ? static_cast<std::int32_t>(v) : 0));
    }
    return SPMP<HT_Custom_Data>(new HT_Std_String_Custom_Data(default_value));
}

HT_Custom_Config_Item* HT_Custom_Config_List::find(const std::wstring& name) {
    auto it = std::find_if(m_items.begin(), m_items.end(),
                           [&](const HT_Custom_Config_Item& i) { return i.name == name; });
    return it == m_items.end() ? nullptr : &*it;
}

const HT_Custom_Config_Item* HT_Custom_Config_List::find(const std::wstring& name) const {
    return const_cast<HT_Custom_Config_List*>(this)->find(name);
}
