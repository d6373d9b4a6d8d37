#pragma once
// The adapter list: the usable addresses among what an adapter source reports, and the choice of
// the adapter through which a destination is reached.
#include <memory>
#include <vector>

#include "juxcommoncode/JuxNetwork/AdapterInterface.h"
#include "juxcommoncode/JuxNetwork/AdapterSource.h"

namespace JuxNetwork {

using AdapterList = std::vector<std::unique_ptr<CAdapterInterface>>;

// One adapter per record of an interface that is up, of type Ethernet or 802.11, with an IPv4 or
// IPv6 address, in the order met. A record repeating an address already kept for the same
// interface is skipped.
AdapterList BuildAdapterList(const std::vector<AdapterAddressRecord>& records);

// The adapter to use for destination, first match in list order, or null:
//   IPv6: (1) Ethernet whose local address is link-local exactly when destination is, (2) any with
//         that link-local state, (3) any Ethernet, (4) any IPv6 adapter;
//   IPv4: (1) Ethernet in the destination's subnet, (2) any in that subnet, (3) any Ethernet,
//         (4) any IPv4 adapter;
//   other families: none.
const CAdapterInterface* FindAdapterFor(const AdapterList& adapters,
                                        const JUX_IP_ADDRESS& destination);

}  // namespace JuxNetwork
