#pragma once
// Every text the converter reports. A shared library opens no windows: what used to be a
// message box goes to the converter's log and to the host's alert handler (standard
// error unless the host installs its own). Texts that named the Windows components we
// replaced name the ones we use.

namespace vestrel::doctiff::messages {

inline constexpr char kLogOpenFailed[] = "Failed to open the LogFile:%s\r\n";
inline constexpr char kSemaphoreFailed[] = "Failed to Init the Doc2Tif Semphore Daemon";
inline constexpr char kWaitSemaphoreFailed[] = "Failed to call Wait Semaphore";
inline constexpr char kRotateFailed[] = "TiffProcessor Convert File For Rotating failed\r\n";
inline constexpr char kConvertPrintedFailed[] = "Failed to Convert Printed Tif File with TiffProcessor\r\n";
inline constexpr char kCopyTempFailed[] = "Copy TempFile:%s to destFile failed";
inline constexpr char kConvertImageFailed[] = "Failed to Convert Image File %s with TiffProcessor\r\n";
inline constexpr char kSpreadsheetOpenFailed[] = "open calc file exception,fileName = %s,errorcode=%d\r\n";
inline constexpr char kProcessEndFailed[] = "错误号:%d";
inline constexpr char kAccessDenied[] = "拒绝访问!";

// Our own, for what the old library did not check or could not meet.
inline constexpr char kPrinterFailed[] = "The fax printer could not print %s, exit code %d\r\n";
inline constexpr char kPrinterNoSignal[] = "The fax printer did not deliver %s within %d seconds\r\n";
inline constexpr char kPrinterStartFailed[] = "Cannot start the fax printer %s\r\n";
inline constexpr char kPathTooLong[] = "The web page path does not fit the 240-byte request: %s\r\n";
inline constexpr char kPathHasSeparator[] = "A path with ';' cannot be used: %s\r\n";
inline constexpr char kLockBusy[] = "Another conversion holds %s; gave up waiting\r\n";
inline constexpr char kHtmlServiceMissing[] = "No HTML-printing service listens on port %d and none could be started\r\n";
inline constexpr char kHtmlRequestFailed[] = "The HTML-printing request failed after %d attempts\r\n";
inline constexpr char kAppendFailed[] = "Failed to append %s to the output: %s\r\n";

}  // namespace vestrel::doctiff::messages
