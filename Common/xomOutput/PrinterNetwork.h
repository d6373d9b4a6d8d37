#pragma once
// The driver's network manager for talking to printers: made and started on first use, shut down
// when the last device goes. One per process; used from the host's plot thread.
#include "juxcommoncode/JuxNetwork/NetIpIoManager.h"

// The started manager; null when it cannot start.
JuxNetwork::CNetIpIoManager* PrinterNetwork();
// Deletes the manager's finished sockets; nothing without a manager.
void PurgePrinterNetwork();
// Stops and deletes the manager (its sockets are closed); the next use makes a new one.
void ShutdownPrinterNetwork();
// Options of the managers made from now on (tests point the printer port at a listener of their
// own and shorten the connect time-out).
void SetPrinterNetworkOptions(JuxNetwork::NetIpIoManagerOptions options);
