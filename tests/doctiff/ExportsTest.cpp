// libsorrelby as its callers see it: loaded at run time, bound by name and by ordinal.

#include "ConverterFixture.h"
#include "FaxTiffCheck.h"

#include <dlfcn.h>

namespace vestrel::doctiff::testing {
namespace {

using InitFn = int (*)();
using PrintFn = int (*)(const char*, const char*);
using CloseFn = int (*)();

TEST_F(ConverterTest, TheLibraryExportsTheThreeFunctionsByNameAndOrdinal) {
    void* library = ::dlopen(VESTREL_SORRELBY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << ::dlerror();
    auto byOrdinal = reinterpret_cast<void* (*)(int)>(::dlsym(library, "sorrelby_proc_by_ordinal"));
    ASSERT_NE(byOrdinal, nullptr);
    EXPECT_EQ(byOrdinal(1), ::dlsym(library, "InitDoc2TifServer"));
    EXPECT_EQ(byOrdinal(2), ::dlsym(library, "PrintDoc2TifFile"));
    EXPECT_EQ(byOrdinal(3), ::dlsym(library, "CloseDoc2TifServer"));
    EXPECT_EQ(byOrdinal(0), nullptr);
    EXPECT_EQ(byOrdinal(4), nullptr);
    EXPECT_EQ(::dlsym(library, "_ZN7vestrel7doctiff13TiffProcessor3RunESt17basic_string_viewIcSt11char_traitsIcEE"),
              nullptr) << "nothing but the C interface is visible";

    auto init = reinterpret_cast<InitFn>(byOrdinal(1));
    auto print = reinterpret_cast<PrintFn>(byOrdinal(2));
    auto close = reinterpret_cast<CloseFn>(byOrdinal(3));
    ASSERT_EQ(init(), 1);
    const std::string jpg = WriteJpg("a.jpg", 300, 200);
    const std::string out = Path("out.tif");
    EXPECT_EQ(print(nullptr, out.c_str()), 0);
    EXPECT_EQ(print(jpg.c_str(), nullptr), 0);
    EXPECT_EQ(print(Path("a.pdf").c_str(), out.c_str()), 0);
    EXPECT_EQ(print((jpg + ";" + jpg).c_str(), out.c_str()), 2);
    ExpectFaxPages(out, 2);
    EXPECT_EQ(close(), 1);
    EXPECT_EQ(close(), 1);
    EXPECT_EQ(print(jpg.c_str(), out.c_str()), 0) << "closed: nothing converts";
    ::dlclose(library);
}

}  // namespace
}  // namespace vestrel::doctiff::testing
