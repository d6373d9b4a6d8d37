#pragma once
// The loopback interface standing in for an up Ethernet adapter (127.0.0.1/8, broadcast
// 127.255.255.255), so that the SNMP manager of a test or benchmark reaches agents and wake-up
// listeners on loopback as it would reach printers on a LAN.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "juxcommoncode/JuxNetwork/AdapterSource.h"

namespace xomtest {

class LoopbackAdapterSource : public JuxNetwork::IAdapterSource {
  public:
    // address/prefixLength: the adapter's address and network (one loopback address alone, /32,
    // keeps a test's broadcasts to itself).
    explicit LoopbackAdapterSource(std::vector<std::uint8_t> physicalAddress = {},
                                   std::wstring address = L"127.0.0.1", int prefixLength = 8)
        : m_physicalAddress(std::move(physicalAddress)),
          m_address(std::move(address)),
          m_prefixLength(prefixLength) {}
    bool ListAddresses(std::vector<JuxNetwork::AdapterAddressRecord>& records) override {
        JuxNetwork::AdapterAddressRecord record;
        record.friendlyName = L"lo-as-ethernet";
        record.interfaceIndex = 1;
        record.interfaceType = 6;  // Ethernet
        record.up = true;
        record.physicalAddress = m_physicalAddress;
        record.address.Set(m_address);
        record.prefixLength = m_prefixLength;
        records.push_back(record);
        return true;
    }

  private:
    std::vector<std::uint8_t> m_physicalAddress;
    std::wstring m_address;
    int m_prefixLength;
};

}  // namespace xomtest
