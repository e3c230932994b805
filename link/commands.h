// The receiver console's vocabulary: every command word and argument the
// program sends, the reply marker bytes, the pacing gaps and the time bounds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tarnwick::cmd {

// Framing.
inline constexpr std::string_view kLineEnd = "\r";  // ends every line; no line feed is sent
inline constexpr std::string_view kSeparator = " "; // between a word and its arguments

// Liveness, identification and reset.
inline constexpr std::string_view kRuAlive = "ruAlive";   // answered by "Y"
inline constexpr std::string_view kKb12 = "kb 12";        // sent after a liveness check; no answer
inline constexpr std::string_view kLocsw = "locsw";       // status reply: software version, model
inline constexpr std::string_view kLochw = "lochw";       // status reply read like "locsw"
inline constexpr std::string_view kLanguage = "Language"; // language query, status reply
inline constexpr std::string_view kSwreset = "swreset";   // restart; banner contains "Revision"

// EEPROM access.
inline constexpr std::string_view kEepromRead = "er";
inline constexpr std::string_view kEepromWrite = "ew";
inline constexpr std::string_view kClearReadMarkers = "ew 1 2 0 0";
inline constexpr std::string_view kClearProgrammedMarkers = "ew 7 2 0 0";
inline constexpr std::string_view kClearCableData = "ew 54872 4 0 0 0 0";
inline constexpr std::string_view kReadCableCount = "er 54874 2 1";
inline constexpr std::uint32_t kCableCountAddress = 54874;
inline constexpr std::uint32_t kCableDataAddress = 54880;

// Record uploads.
inline constexpr std::string_view kReadRecords = "rc";       // read-marker records
inline constexpr std::string_view kProgrammedRecords = "pc"; // programmed-marker records
inline constexpr std::string_view kCableRecords = "cdr";     // defined, sent by no tool

// Desktop marker writer.
inline constexpr std::string_view kReadMarkers = "readmkrs";
inline constexpr std::string_view kProgramMarkers = "progmkrs";
inline constexpr std::string_view kOverwriteData = "owdata";
inline constexpr std::string_view kBatteryVoltage = "bv";
inline constexpr std::string_view kContinuousOutput = "Cout";
inline constexpr std::string_view kAbort = "abort";

// Upgrade and boot loader.
inline constexpr std::string_view kMrh = "mrh"; // precedes the configuration-data lines
inline constexpr std::string_view kLoaderProgram =
    "P"; // alone: ask for "b"; with an area: announce it
inline constexpr std::string_view kLoaderRestart = "R"; // restart after a completed transfer

// Flash areas announced with "P" (hexadecimal start and end).
inline constexpr std::string_view kAreaMainStart = "10000";
inline constexpr std::string_view kAreaMainEnd = "5FFFF";
inline constexpr std::string_view kAreaModelStart = "2000";
inline constexpr std::string_view kAreaModelEnd = "4FFF";
inline constexpr std::string_view kAreaLanguageStart = "8000";
inline constexpr std::string_view kAreaLanguageEnd = "FFFF";
inline constexpr std::string_view kAreaHelpStart = "5000";
inline constexpr std::string_view kAreaHelpEnd = "7FFF";

// Glossary, lists and templates.
inline constexpr std::string_view kGloss = "gloss";
inline constexpr std::string_view kGlossName = "gn";
inline constexpr std::string_view kGlossData = "gdata";
inline constexpr std::string_view kListLength = "pcll";
inline constexpr std::string_view kListData = "ldata";
inline constexpr std::string_view kListInit = "linit";
inline constexpr std::string_view kTableLength = "pctl";
inline constexpr std::string_view kTableData = "tdata";
inline constexpr std::string_view kTableInit = "tinit";
inline constexpr std::string_view kTemplateCount = "pcut";         // templates about to be sent
inline constexpr std::string_view kTemplateData = "fdata";         // one template follows
inline constexpr std::string_view kReceiverTemplates = "locut";    // the receiver's own templates
inline constexpr std::string_view kReceiverTraceTable = "ttdata";  // the receiver's template table
inline constexpr std::string_view kTemplateTableCount = "pcttlen"; // table entries about to be sent
inline constexpr std::string_view kTemplateTableData = "pcttd";    // one table entry follows
inline constexpr std::string_view kGlossaryVersion = "11";         // the version "gloss" sends

// Framing of the list and table data blocks: a frame byte, then the start or
// end byte; the 16-bit values between go high byte first.
inline constexpr std::uint8_t kListFrame = 0x0A;  // frames "ldata" blocks
inline constexpr std::uint8_t kTableFrame = 0x19; // frames "tdata" blocks
inline constexpr std::uint8_t kBlockStart = 0x1E; // after the frame byte: values follow
inline constexpr std::uint8_t kBlockEnd = 0x1F;   // after the frame byte: the values have ended

// Configuration.
inline constexpr std::string_view kLang = "lang";
inline constexpr std::string_view kDate = "date";
inline constexpr std::string_view kUnits = "units";
inline constexpr std::string_view kMarkerTypes = "mkr";
inline constexpr std::string_view kMarkerTypesMask = "pcmmkr";
inline constexpr std::string_view kLocateActive = "lact";
inline constexpr std::string_view kLocatePassive = "lpas";
inline constexpr std::string_view kLocatePower = "lpow";
inline constexpr std::string_view kLocateAuxiliary = "laux";
inline constexpr std::string_view kLocateUserDefined = "ludf";
inline constexpr std::string_view kToneActive = "tact";
inline constexpr std::string_view kTonePassive = "tpas";
inline constexpr std::string_view kTonePower = "tpow";
inline constexpr std::string_view kToneAuxiliary = "taux";
inline constexpr std::string_view kToneUserDefined = "tudf";
inline constexpr std::string_view kMaskActive = "pcmact";
inline constexpr std::string_view kMaskPassive = "pcmpas";
inline constexpr std::string_view kMaskPower = "pcmpow";
inline constexpr std::string_view kMaskAuxiliary = "pcmaux";
inline constexpr std::string_view kMaskToneActive = "pcmtact";
inline constexpr std::string_view kMaskTonePassive = "pcmtpas";
inline constexpr std::string_view kMaskTonePower = "pcmtpow";
inline constexpr std::string_view kMaskToneAuxiliary = "pcmtaux";
inline constexpr std::string_view kUserFrequency = "udf";

// Reply markers (single bytes).
inline constexpr std::uint8_t kAliveReply = 0x59;   // "Y": the receiver is there
inline constexpr std::uint8_t kStatusHeader = 0xD5; // first byte of a binary status reply
inline constexpr std::uint8_t kStatusValid = 0x02;  // must follow the header
inline constexpr std::uint8_t kAck = 0x06;          // data block accepted
inline constexpr std::uint8_t kNak = 0x15;          // data block refused
inline constexpr std::uint8_t kEndOfData = 0x7F;    // written after a glossary block
inline constexpr std::uint8_t kLoaderPrompt = 0x62; // "b": the boot loader answers
inline constexpr std::uint8_t kLoaderReady = 0x43;  // "C": ready for packets
inline constexpr std::uint8_t kLoaderError = 0x65;  // "e": loader error
inline constexpr std::uint8_t kLineFeed = 0x0A;     // echoed before the CR of a line
inline constexpr std::uint8_t kCarriageReturn = 0x0D;

inline constexpr std::string_view kBanner = "Revision"; // the receiver's start-up banner

// Payload sizes of the status replies.
inline constexpr int kLocswPayload = 7; // the version dialog reads the first three

// Pacing gaps after each byte of a line, in milliseconds.
inline constexpr int kGapDefaultMs = 25;  // liveness, "kb 12" and most tools
inline constexpr int kGapFastMs = 5;      // writer station; status queries of upgrade/language
inline constexpr int kGapShortMs = 10;    // single lines of templates, records, upgrade
inline constexpr int kGapSlowMs = 50;     // "swreset" after EEPROM writes; long sequences
inline constexpr int kGapSlowestMs = 100; // one line each of the list and glossary downloads

// Wall-clock bounds, in milliseconds.
inline constexpr int kReadCharMs = 360;             // one silent read costs this much
inline constexpr int kAliveBoundMs = 5000;          // "Y" after "ruAlive"
inline constexpr int kVersionStatusBoundMs = 35000; // 0xD5 after "locsw" in the version check
inline constexpr int kUpgradeStatusBoundMs = 2000;  // 0xD5 after a status query in the upgrade
inline constexpr int kResetSettleMs = 250;          // pause after "swreset"
inline constexpr int kResetBoundMs = 5000;          // banner after "swreset"
inline constexpr int kEepromWritePauseMs = 100;     // pause after an "ew" line
inline constexpr int kDownloadAckBoundMs = 35000;   // ACK after each item, list and entry sent
inline constexpr int kDownloadPieceMs = 200;        // after "gdata", "linit" and header pieces

// Record uploads.
inline constexpr std::size_t kRecordPromptChars = 2; // the prompt after an upload, dropped

// Template transfer.
inline constexpr int kTemplateReplyBoundMs = 5000;  // 0xD5 after "locsw", "locut" or "ttdata"
inline constexpr int kTemplateRecordBoundMs = 5000; // each record of the receiver's table
inline constexpr int kTemplateAckBoundMs = 35000;   // ACK after a template record
inline constexpr int kTemplateSettleMs = 300;       // after the last template of a download
inline constexpr int kTemplateTableHeader = 2;      // count and record size after 0xD5 0x02

} // namespace tarnwick::cmd
