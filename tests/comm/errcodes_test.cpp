#include <gtest/gtest.h>

#include "comm/errcodes.h"

namespace qz {
namespace {

TEST(ErrorText, TableTextsAtTheirCodes) {
  const struct {
    uint32_t code;
    const char* text;
  } cases[] = {
      {0, "No error"},
      {1, "Configuration file not found"},
      {2, "Error while transmitting data"},
      {8, "File transferred incompletely"},
      {9, "Unspecified error"},
      {14, "Illegal baud rate selected: default used"},
      {27, "A/D converter range out of interval 1..4"},
      {29, "Card error (not installed, bad address, HW error)"},
      {31, "Motors timeout"},
      {34, "Motor parameters read from flash fail"},
      {36, "Invalid 8254 counter setup"},
      {40, "Clok frequency read from DAQ.CFG illegal - set to 10 MHz"},
      {48, "File not found in master PC"},
      {50, "DAQ configuration file DAQ.CFG missing"},
      {53, "Reflectometer calibration file RFL.CAL missing"},
      {55, "Generator setup transfer error"},
      {58, "RS232 configuration file RS232.CFG missing"},
      {64, "Calibratin matrix inversion fail"},
      {95, "Memory file not found"},
      {96, "Memory file invalid or incompatible"},
      {97, "Memory file write fail"},
      {111, "Incorrect detector correction file"},
      {112, "Detector config file not Autocal type"},
      {116, "Srvr received bad passwrd from PC"},
      {117, "Bad password received from Server"},
      {119, "Tracking is not active"},
      {123, "COM port with specified number is not available"},
      {137, "Max. column count reached"},
      {139, "Operation not permitted"},
      {140, "Record not found"},
  };
  for (const auto& c : cases) EXPECT_EQ(ErrorText(c.code), QString::fromLatin1(c.text)) << c.code;
}

TEST(ErrorText, DuplicatesUnusedAndIllegalCodes) {
  // 114 and 115 repeat the texts of 111 and 112.
  EXPECT_EQ(ErrorText(114), ErrorText(111));
  EXPECT_EQ(ErrorText(115), ErrorText(112));
  // Codes without a text of their own read neutrally; the neighbours keep their own texts.
  for (uint32_t code : {28u, 30u, 35u, 49u, 54u, 118u, 138u}) {
    EXPECT_EQ(ErrorText(code), "Unspecified error") << code;
    EXPECT_NE(ErrorText(code + 1), "Unspecified error") << code + 1;
  }
  for (uint32_t code : {141u, 1000u, 0x7FFFFFFFu, 4294967295u}) {
    EXPECT_EQ(ErrorText(code), "Illegal error code") << code;
  }
  // A negative signed code taken as unsigned is illegal, too.
  const int32_t negative = -1;
  EXPECT_EQ(ErrorText(uint32_t(negative)), "Illegal error code");
  // Every code of the table has a text.
  for (uint32_t code = 0; code <= kMaxErrorCode; ++code) EXPECT_FALSE(ErrorText(code).isEmpty());
}

TEST(ErrorMessage, NameWordCodeAndText) {
  EXPECT_EQ(ErrorMessage("RS232", 8), "RS232 error 8: File transferred incompletely");
  EXPECT_EQ(ErrorMessage("RS232", 0), "RS232 error 0: No error");
  EXPECT_EQ(ErrorMessage("RS232", 4294967295u), "RS232 error 4294967295: Illegal error code");
  EXPECT_EQ(ErrorMessage("", 141), " error 141: Illegal error code");
}

}  // namespace
}  // namespace qz
