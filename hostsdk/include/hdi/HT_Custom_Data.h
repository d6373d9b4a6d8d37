#pragma once
// Custom data: the named items a driver keeps in a plotter configuration (one item per key, an
// integer or a wide text), and the capability side's declared items with their defaults.
#include <cstdint>
#include <string>
#include <vector>

#include "hdi/HT_Object.h"

// A custom data value; immutable, so configurations that share one are unaffected by a change
// (a change replaces the item's data).
class HT_Custom_Data : public HT_Counted {
  public:
    virtual bool is_long() const = 0;
};

class HT_Std_Long_Custom_Data : public HT_Custom_Data {
  public:
    explicit HT_Std_Long_Custom_Data(std::int32_t value) : m_value(value) {}
    bool is_long() const override { return true; }
    std::int32_t data() const { return m_value; }

  private:
    std::int32_t m_value;
};

class HT_Std_String_Custom_Data : public HT_Custom_Data {
  public:
    explicit HT_Std_String_Custom_Data(std::wstring value) : m_value(std::move(value)) {}
    bool is_long() const override { return false; }
    const std::wstring& data() const { return m_value; }

  private:
    std::wstring m_value;
};

// A declared custom item of the capabilities (from the DRC data).
struct HT_Custom_Item {
    std::wstring key;
    std::wstring type;  // "long" or "string"
    std::wstring default_value;

    // A new custom data object holding the default: a long item whose default is not a number
    // gives 0.
    SPMP<HT_Custom_Data> default_data() const;
};

// One item of a configuration's custom-configuration list.
struct HT_Custom_Config_Item {
    std::wstring name;
    SPMP<HT_Custom_Data> data;
};

class HT_Custom_Config_List {
  public:
    HT_Custom_Config_Item* find(const std::wstring& name);
    const HT_Custom_Config_Item* find(const std::wstring& name) const;
    void append(HT_Custom_Config_Item item) { m_items.push_back(std::move(item)); }
    const std::vector<HT_Custom_Config_Item>& items() const { return m_items; }
    void clear() { m_items.clear(); }
    std::size_t size() const { return m_items.size(); }

  private:
    std::vector<HT_Custom_Config_Item> m_items;
};
