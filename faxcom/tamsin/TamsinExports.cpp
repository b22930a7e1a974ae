// The export of libtamsin: a text file to fax pages, and its ordinal table.

#include "tamsin.h"

#include "TextFax.h"
#include "UserAlert.h"

extern "C" {

int Text2Tif(const char* textFile, const char* tiffFile, int /*reserved*/)
{
    if (textFile == nullptr || tiffFile == nullptr)
        return 0;
    try {
        std::string error;
        if (vestrel::tamsin::WriteTextFax(textFile, tiffFile, error))
            return 1;
        vestrel::fax::ShowUserAlert("Text2Tif: " + error + "\r\n");
        return 0;
    } catch (...) {
        return 0;
    }
}

void* tamsin_proc_by_ordinal(int ordinal)
{
    return ordinal == 1 ? reinterpret_cast<void*>(&Text2Tif) : nullptr;
}

}  // extern "C"
