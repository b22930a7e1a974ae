#pragma once
// The converter object behind libsorrelby: turns a ";"-separated list of documents, web
// pages and pictures into fax pages appended to one TIFF file.
//
// Printed kinds (word-processor files, text, spreadsheets, presentations) go to the fax
// printer program; web pages to the HTML-printing service, which prints them through the
// same printer. Both deliver "tempTolvy.tif" in $TOLVY_ROOT and post the printer
// semaphore. Pictures and TIFF files go straight through the TIFF processor.
//
// A conversion holds the lock file of $TOLVY_ROOT from start to end, so that two
// processes converting at once never mix their scratch files or printer signals.

#include "HtmlAdapter.h"
#include "LogFile.h"
#include "PrinterSemaphore.h"
#include "SourceType.h"
#include "TiffAdapter.h"

#include <chrono>
#include <memory>
#include <string>

namespace vestrel::doctiff {

struct ConverterOptions {
    std::string printerProgram;         // vestrel_faxprinter
    HtmlAdapterOptions html;            // includes the service program
    int semaphoreRounds = 60;           // the printer has 60 rounds ...
    std::chrono::milliseconds semaphoreRound{1000};  // ... of a second each
    std::chrono::milliseconds lockPatience{300000};
    bool connectHtmlAtInit = true;
};

// The programs that ship beside libsorrelby (the program folder), port 1570.
ConverterOptions DefaultConverterOptions();

inline constexpr int kMaxSourcesPerCall = 10;

class Doc2TifConverter {
public:
    explicit Doc2TifConverter(ConverterOptions options = DefaultConverterOptions());
    ~Doc2TifConverter();

    // 1 ready, 0 when the printer semaphore cannot be created.
    int Init();
    // Pages of the output after appending every source; 0 on any failure (pages
    // appended before the failure stay in the output).
    int Print(const std::string& sourceList, const std::string& output);
    // 1.
    int Close();
    bool IsInitialised() const { return semaphore_.IsOpen(); }

private:
    int ConvertOne(const std::string& source, const std::string& piece);
    int PrintThroughPrinter(SourceKind kind, const std::string& source, const std::string& piece);
    bool StartPrinter(SourceKind kind, const std::string& source, ChildProcess& printer);
    void Report(const std::string& text);

    ConverterOptions options_;
    fax::LogFile log_;
    PrinterSemaphore semaphore_;
    std::unique_ptr<TiffAdapter> tiff_;
    std::unique_ptr<HtmlAdapter> html_;
};

// Splits at each ';' into at most kMaxSourcesPerCall paths, each trimmed of surrounding
// blanks; text after the tenth separator is ignored and an empty last piece is dropped.
std::vector<std::string> SplitSourceList(const std::string& list);

}  // namespace vestrel::doctiff
