#pragma once
// The hardware inventory: the installed-hardware list ListView1 and what fills and reads it.
//
// DeviceScan walks a registry device tree (cRegistry over any RegistryStore) and appends one
// device record per device key (DeviceRecords). The store is this machine's device tree
// (ThisMachineDeviceTree: on Linux the DeviceTreeStore, sysfs seen in the NT layout with names
// from pci.ids through PciNames and usb.ids through UsbNames; on Windows the system's registry),
// or a registry export or offline hive that DeviceListSource recognises by content.
// ProfileFile reads and writes *.hwp profiles; ProfileCommands joins both to the window's
// buttons, dialogs and command tail. BuildCriteria turns the chosen row into the search
// criteria of List1 with the TextRoutines.

#include "inventory/BuildCriteria.h"
#include "inventory/DeviceListSource.h"
#include "inventory/DeviceRecords.h"
#include "inventory/DeviceScan.h"
#include "inventory/ProfileCommands.h"
#include "inventory/ProfileFile.h"
#include "inventory/TextRoutines.h"
#include "inventory/ThisMachineDeviceTree.h"
