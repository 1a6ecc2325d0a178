// The version gate compares the two version bytes as one version.
#include <gtest/gtest.h>

#include "writer/firmware_images.h"
#include "writer/firmware_update.h"

namespace kelvane::writer {
namespace {

TEST(VersionGateTest, UpToDateFromOnePointThree) {
  struct Case {
    std::uint8_t major, minor;
    bool up_to_date;
  };
  const Case cases[] = {{1, 3, true},  {1, 4, true},  {2, 0, true},   {0xFF, 0, true}, {1, 2, false},
                        {0, 9, false}, {0, 3, false}, {1, 0, false}, {0, 0xFF, false}};
  for (const Case& c : cases) {
    EXPECT_EQ(IsUpToDate(c.major, c.minor), c.up_to_date) << int(c.major) << "." << int(c.minor);
  }
}

TEST(FirmwareImagesTest, CarriedInTheProgramAtTheirSizes) {
  EXPECT_EQ(FirmwareImage().size(), 64512u);
  EXPECT_EQ(BurnerProgramImage().size(), 22016u);
  EXPECT_EQ(BurnerFirmwareImage().size(), 147968u);
}

}  // namespace
}  // namespace kelvane::writer
