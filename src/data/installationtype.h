#pragma once
// What the installation type decides beyond its own label: the controller
// family the link talks to, the group rows a chart shows and the group names
// the editor offers. The main window, the preview, the capture and every
// command ask here, so they never differ.

#include "data/installationdata.h"

#include <cstdint>
#include <optional>

// The link family of the controller, which is also the address its answers carry.
enum class ControllerFamily : uint8_t {
    NotSet = 0,  // until the main window first looks at the data
    Other = 1,   // QSW 2000 / 2200, KVX 40, KVX 10
    Kvx = 2,     // KVX 300 / 900 / 5000S
};

// The type is stored unsigned but meant signed: 0 or below is a KVX (a type
// of -1 too), every other value the other family.
ControllerFamily ControllerFamilyOf(int32_t installationType);
inline ControllerFamily ControllerFamilyOf(const InstallationData &data)
{
    return ControllerFamilyOf(int32_t(data.Konf.InstallationType));
}

// Group rows of a chart page: 24 for a KVX, 12 for the other families.
int ShownGroupsOf(ControllerFamily family);

// The group count that belongs to an installation type: 24 for type 0, 4 for
// type 1, 12 for type 2; the other types have none of their own.
std::optional<uint32_t> GroupCountOfType(uint32_t installationType);

// Name fields the group names editor shows: the type's own group count, else
// the header's group count when it is 1 … 24, else all 24.
int GroupNamesShown(const InstallationData &data);
