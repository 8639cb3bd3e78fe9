#pragma once
// The unit's command vocabulary: the text commands and control bytes the serial line would carry
// for each operation of the command layer. Without a unit nothing is sent; the forms are built
// only for the debug log, so that the maker can see which commands an operator's action would
// have given.

#include <QString>
#include <cstdint>

#include "core/records.h"

namespace qz {

// One command on the line: an optional code byte (sent as a control code) and an optional text.
struct TWire {
  int Code = -1;  // 0..255, or -1 when the command has no code byte
  QString Text;   // the text exactly as sent, line ends included
  friend bool operator==(const TWire&, const TWire&) = default;
};

// Control bytes of the start/stop command.
inline constexpr uint8_t kCtlStart = 17;   // DC1
inline constexpr uint8_t kCtlStop = 18;    // DC2
inline constexpr uint8_t kCtlState3 = 12;  // FF, the single-series state
// Code byte of the stub reset ("E").
inline constexpr uint8_t kCodeResetStubs = 69;
// Server control sub-codes with a form of their own.
inline constexpr uint8_t kSrvRestart = 80;
inline constexpr uint8_t kSrvOtherByte = 34;
// The text the connection check sends and expects back.
inline constexpr const char* kFoxText = "The Quick Brown Fox";

// Start/stop with action 0 stop, 1 start, 3 single series (any other action has no form: Code
// -1 and an empty text).
TWire WireStartStop(int action);
// "SRS %d %d\n\r": start/stop state and send/hush state, 2 = keep.
TWire WireSrs(int runState, int sendState);
// The sampling settings of a waveform: "SIG " + waveform, the trigger word and level, the
// waveform's sampling fields and its block-sampling flag, CR LF.
TWire WireSampling(int waveform, const TVarPar& vp, const TRectif& rectif, const TPulsed& pulsed);
// "SIG " + waveform + "\r\n".
TWire WireSwitchWaveform(int waveform);
// "AVR %d %d\n\r".
TWire WireAveraging(int vrpt, int trpt);
// "XXX " + counting time + " " + counter on/off + "\r\n".
TWire WireCounter(int32_t tcountUs, int isCntOn);
// "FRE " + value + "\r\n" with the parameter code as the code byte.
TWire WireFreqParam(int code, int32_t value);
// "HSO " + the ten fields of the record separated by blanks + "\r\n".
TWire WireMeaStp(const TMeaStp& m);
// "HRO 4\r\n".
TWire WireReadMeaStp();
// "XXX " + period + "\r\n".
TWire WireMotRefresh(int periodMs);
// "PCR " + factor (NumberText5) + " " + flag + "\r\n".
TWire WirePowCal(double userPowCorr, int flag);
// "ATC %d\r\n".
TWire WireAutotuneOnOff(int value);
// "ATC T\r\n" or "ATC F\r\n".
TWire WireAutotuneState(bool on);
// "ATP tolerance interval smoothing method target delay\r\n"; the method letter is "W" when the
// tuner waits for microwave power before tuning, else "N".
TWire WireAutotuneParams(const TMotState& m);
// "ATP READ\r\n".
TWire WireReadAutotuneParams();
// "ATC S\r\n".
TWire WireSingleTune();
// "MPO" + for each stub a blank and its target position right-aligned in 5 characters + CR LF.
TWire WireMoveStubs(const TMotPos& target);
// Code byte 69.
TWire WireResetStubs();
// "TSO 1 " + n + "\r\n".
TWire WireTuneStartStop(int n);
// "TRO 1\r\n".
TWire WireTunerReadOut();
// "PNG %d\r\n".
TWire WirePing(int address);
// Sub-code 80: the byte 80; 15..18: "RSS " + sub-code + "\r\n"; any other: the byte 34.
TWire WireServerControl(int subCode);
// The connection check's echo text.
TWire WireConnectionCheck();
// A code byte, with a text when one is given.
TWire WireCode(int code, const QString& text = QString());

// The form as one log line: a code byte as "<n>", then the text with CR, LF and other control
// characters shown as "\r", "\n" and "<n>".
QString WireLogText(const TWire& w);

}  // namespace qz
