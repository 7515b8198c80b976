// The installation type decides the controller family, and with it the group
// rows every chart shows (preview, render, states, info and the capture all
// ask here), and how many names the group names editor offers.

#include "data/installationtype.h"

#include <gtest/gtest.h>

TEST(InstallationType, FamilyRowsAndNamesPerType)
{
    const struct {
        int32_t type;
        ControllerFamily family;
        int rows;
        int names;  // with a header of 7 groups
    } cases[] = {
        {-1, ControllerFamily::Kvx, 24, 7},  // stored unsigned as 0xFFFFFFFF, meant signed
        {0, ControllerFamily::Kvx, 24, 24},
        {1, ControllerFamily::Other, 12, 4},
        {2, ControllerFamily::Other, 12, 12},
        {3, ControllerFamily::Other, 12, 7},
        {5, ControllerFamily::Other, 12, 7},
        {7, ControllerFamily::Other, 12, 7},
    };
    for (const auto &c : cases) {
        InstallationData d;
        d.Konf.InstallationType = uint32_t(c.type);
        d.Header.GroupCount = 7;
        EXPECT_EQ(ControllerFamilyOf(d), c.family) << c.type;
        EXPECT_EQ(ShownGroupsOf(ControllerFamilyOf(d)), c.rows) << c.type;
        EXPECT_EQ(GroupNamesShown(d), c.names) << c.type;
    }
    // A header count outside 1 … 24 shows all names.
    InstallationData odd;
    odd.Konf.InstallationType = 4;
    for (uint32_t count : {0u, 25u, 0xFFFFFFFFu}) {
        odd.Header.GroupCount = count;
        EXPECT_EQ(GroupNamesShown(odd), 24) << count;
    }
}
