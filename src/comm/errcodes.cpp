#include "comm/errcodes.h"

#include <array>

#include "util/format.h"

namespace qz {

namespace {

// Codes without a text of their own (they belonged to another system's devices and programs).
constexpr const char* kUnused = "Unspecified error";

constexpr std::array<const char*, kMaxErrorCode + 1> kTexts = {
    "No error",                                                             // 0
    "Configuration file not found",                                         // 1
    "Error while transmitting data",                                        // 2
    "Lost Bytes while transmitting data",                                   // 3
    "TX timeout error while sending a string",                              // 4
    "TX timeout",                                                           // 5
    "RX timeout",                                                           // 6
    "Server does not respond",                                              // 7
    "File transferred incompletely",                                        // 8
    "Unspecified error",                                                    // 9
    "Disk full in master PC",                                               // 10
    "Write path not found",                                                 // 11
    "File renaming error",                                                  // 12
    "File not found",                                                       // 13
    "Illegal baud rate selected: default used",                             // 14
    "CreateFile procedure fail",                                            // 15
    "GetCommState procedure fail",                                          // 16
    "SetCommState procedure fail",                                          // 17
    "SetCommTimeouts procedure fail",                                       // 18
    "Lpt TX Tout1",                                                         // 19
    "Lpt TX Tout2",                                                         // 20
    "Lpt RX Tout1",                                                         // 21
    "Lpt RX Tout2",                                                         // 22
    "D/O bit out of valid range",                                           // 23
    "No input for A/D conversion selected",                                 // 24
    "No buffer for A/D conversion sampling allocated",                      // 25
    "A/D converter input out of interval 0..7",                             // 26
    "A/D converter range out of interval 1..4",                             // 27
    kUnused,                                                                // 28
    "Card error (not installed, bad address, HW error)",                    // 29
    kUnused,                                                                // 30
    "Motors timeout",                                                       // 31
    "Terminal switch reached",                                              // 32
    "Motors home procedure fail",                                           // 33
    "Motor parameters read from flash fail",                                // 34
    kUnused,                                                                // 35
    "Invalid 8254 counter setup",                                           // 36
    "Counts for D/A conversion is out of range 0..4095",                    // 37
    "D/A voltage to set is below zero or above Vref",                       // 38
    "A/D converter timeout",                                                // 39
    "Clok frequency read from DAQ.CFG illegal - set to 10 MHz",             // 40
    "Communication error while transfering data",                           // 41
    "Data count in row differs from that in column header",                 // 42
    "File not found in server system",                                      // 43
    "Server not ready",                                                     // 44
    "No data column names found in file",                                   // 45
    "No valid data rows found in file",                                     // 46
    "Spectrum analyzer config/setup transfer error",                        // 47
    "File not found in master PC",                                          // 48
    kUnused,                                                                // 49
    "DAQ configuration file DAQ.CFG missing",                               // 50
    "Generator configuration file GEN.CFG missing",                         // 51
    "Detector configuration file SDET.CFG missing",                         // 52
    "Reflectometer calibration file RFL.CAL missing",                       // 53
    kUnused,                                                                // 54
    "Generator setup transfer error",                                       // 55
    "DAQ setup transfer error",                                             // 56
    "Spectrum analyzer configuration file SPE.CFG missing",                 // 57
    "RS232 configuration file RS232.CFG missing",                           // 58
    "Parallel port configuration file LPT.CFG missing",                     // 59
    "Set of permitted display types is empty",                              // 60
    "Set of permitted X-axes is empty",                                     // 61
    "Incorrect detectors correction file",                                  // 62
    "Incorrect master calibration file",                                    // 63
    "Calibratin matrix inversion fail",                                     // 64
    "Frequency lower than calibration range",                               // 65
    "Frequency higher than calibration range",                              // 66
    "Incorrect recalibration file",                                         // 67
    "Nonexistent recalibration file",                                       // 68
    "Incorrect recalibration file data",                                    // 69
    "Incorrect calibration standards file",                                 // 70
    "Frequency sweep aborted",                                              // 71
    "Overflow/underflow while sweeping",                                    // 72
    "Computation aborted",                                                  // 73
    "Number of points under limit",                                         // 74
    "Number of points over limit",                                          // 75
    "Number of points not power of 2",                                      // 76
    "Conflicting numbers of points and bits",                               // 77
    "Freq range for TDR is too narrow: increase",                           // 78
    "Frequency out of calib range",                                         // 79
    "Recalibration file read cancelled or fail",                            // 80
    "Data acquisition card error",                                          // 81
    "Signal generator error",                                               // 82
    "Spectrum analyzer error",                                              // 83
    "Invalid temperature sensor channel: not 0..7",                         // 84
    "Table of frequencies is empty",                                        // 85
    "Frequency point out of frequency table range",                         // 86
    "Neither reflectometer nor scalar nor spectrum analyzer selected",      // 87
    "Overflow while measuring temperature",                                 // 88
    "Frequency list to fill freq table is empty or nil",                    // 89
    "Other response than Ready received from server",                       // 90
    "Transfer of frequency table fail",                                     // 91
    "Device not ready for measurement",                                     // 92
    "Devices or calibrations are frequency-incompatible",                   // 93
    "Count time longer than pulse duration",                                // 94
    "Memory file not found",                                                // 95
    "Memory file invalid or incompatible",                                  // 96
    "Memory file write fail",                                               // 97
    "Incompatible Quzar and Tuner waveguides",                              // 98
    "Error while reading generator configuration file GEN.CFG",             // 99
    "Invalid frequency(ies) encountered as input for tuning table",         // 100
    "Output power level control not available",                             // 101
    "Error while reading gen level correction file GEN.DTA",                // 102
    "Error while reading spectrum analyzer configuration file SPE.CFG",     // 103
    "Improper frequency table for tuning with tracking generator",          // 104
    "Attempt to set invalid RBW - operation aborted",                       // 105
    "Temperature correction not enabled - no appropriate data in SPE.CFG",  // 106
    "Illegal gain control mode attempted: set to Auto",                     // 107
    "Sca: Frequency lower than calibration range",                          // 108
    "Sca: Frequency higher than calibration range",                         // 109
    "Sca: Incorrect recalibration file",                                    // 110
    "Incorrect detector correction file",                                   // 111
    "Detector config file not Autocal type",                                // 112
    "No buffer allocated for sampled data",                                 // 113
    "Incorrect detector correction file",                                   // 114
    "Detector config file not Autocal type",                                // 115
    "Srvr received bad passwrd from PC",                                    // 116
    "Bad password received from Server",                                    // 117
    kUnused,                                                                // 118
    "Tracking is not active",                                               // 119
    "Tracking: Frequency out of Spectrum Anal limits",                      // 120
    "Tracking: Frequency out of Auxiliary Generator limits",                // 121
    "Tracking: No frequency permitted for given settings",                  // 122
    "COM port with specified number is not available",                      // 123
    "CAN Bus off",                                                          // 124
    "CAN device should be restarted",                                       // 125
    "CAN TX error",                                                         // 126
    "CAN unspecified error",                                                // 127
    "CAN TX buffer full",                                                   // 128
    "CAN RX overrun",                                                       // 129
    "CAN command execution fail",                                           // 130
    "CAN command cannot be Broadcast",                                      // 131
    "Checksum error",                                                       // 132
    "HT_Command error",                                                     // 133
    "Set ADC Channels fail",                                                // 134
    "No valid data record found in file",                                   // 135
    "Max. row count reached",                                               // 136
    "Max. column count reached",                                            // 137
    kUnused,                                                                // 138
    "Operation not permitted",                                              // 139
    "Record not found",                                                     // 140
};

}  // namespace

QString ErrorText(uint32_t code) {
  if (code > kMaxErrorCode) return QStringLiteral("Illegal error code");
  return QString::fromLatin1(kTexts[code]);
}

QString ErrorMessage(const QString& objectName, uint32_t code) {
  return Format(QStringLiteral("%s error %u: %s"), {objectName, code, ErrorText(code)});
}

}  // namespace qz
