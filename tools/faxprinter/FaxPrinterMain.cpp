// vestrel_faxprinter: the fax printer of the document converter. Prints one document to
// "tempTolvy.tif" in $TOLVY_ROOT and posts the printer semaphore, like the printer driver
// the converter was written for.
//
//   vestrel_faxprinter [--kind writer|calc|impress|html] [--pages FIRST-LAST] DOCUMENT
//
// Exit status 0 when printed, 1 when the document could not be printed, 2 on bad usage.

#include "FaxPrinter.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: vestrel_faxprinter [--kind writer|calc|impress|html] [--pages FIRST-LAST] DOCUMENT\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace vestrel::doctiff;
    PrintJob job;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--kind" && i + 1 < argc) {
            if (!OfficeKindFromName(argv[++i], job.kind)) return Usage();
        } else if (arg == "--pages" && i + 1 < argc) {
            int first = 0, last = 0;
            if (std::sscanf(argv[++i], "%d-%d", &first, &last) != 2 || first < 1 || last < first)
                return Usage();
            job.firstPage = first;
            job.lastPage = last;
        } else if (!arg.empty() && arg[0] != '-' && job.document.empty()) {
            job.document = arg;
        } else {
            return Usage();
        }
    }
    if (job.document.empty()) return Usage();
    // The printed pages are the user's documents: readable by the user alone.
    ::umask(077);
    std::string error;
    if (!PrintToFaxPrinter(job, error)) {
        std::fprintf(stderr, "vestrel_faxprinter: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
