#pragma once
// The driver's one network manager for talking to printers (SNMP, and the job port for direct
// plots): made and started on first use, shut down when the last device goes. One per process;
// used from the host's plot thread.
#include "juxcommoncode/JuxNetwork/SnmpManager.h"
#include "juxcommoncode/JuxSerialize/ResultCodes.h"

// The started manager; null when it cannot start.
JuxNetwork::CSnmpManager* PrinterNetwork();
// Makes and starts the manager when there is none: 0, or, when it will not start, kE_FAIL after
// telling the user ("Snmp Manager will not start.").
JuxNetwork::HRESULT StartSnmpManager();
// Deletes the manager's finished sockets; nothing without a manager.
void PurgePrinterNetwork();
// Stops and deletes the manager (its sockets are closed); the next use makes a new one.
void ShutdownPrinterNetwork();
// Options of the managers made from now on (tests point the printer's ports at peers of their
// own and shorten the time-outs).
void SetPrinterNetworkOptions(JuxNetwork::NetIpIoManagerOptions options,
                              JuxNetwork::SnmpManagerOptions snmp = {});
