// The shared library as other programs load it: exactly the thirty functions and the
// ordinal table, bound by name and by ordinal.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

#include "quendle.h"

namespace {

const char* const kExportsByOrdinal[31] = {
    nullptr, "OpenConnection", "OpenConnectionEx", "SendFaxToServer", "SendPHFaxToServer",
    "SendFaxJobToServer", "SendPHFaxJobToServer", "SendCustomFaxJobToServer", "CancelSendJob",
    "QueryResultForNewTasks", "PickResultTask", "QueryResultTaskByJobNo",
    "QueryResultTaskByJobNoTaskId", "QueryJobFinishByJobNo", "QueryResultForNewRecvTasks",
    "PickResultRecvTask", "QueryResultForNewICRecvTask", "PickResultICRecvTask",
    "FinishQueryForNewICRecvTask", "GetICUserSettingByCallInfo", "GetICSubUserSettingByExt",
    "CheckNewClientSoftware", "QueryDownloadableNewClientFile", "DownloadNewClientFile",
    "CloseConnection", "MakeUTime", "InitAdvancedJobInfo", "GetUserInfo", "ModifyUserSetting",
    "ModifyPassword", "ConvertText2Wav"};

TEST(QuendleLibrary, ExportsExactlyTheThirtyFunctionsAndTheOrdinalTable)
{
    const std::string command = "nm -D --defined-only " QUENDLE_LIBRARY_PATH;
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::set<std::string> exported;
    char line[512];
    while (std::fgets(line, sizeof(line), pipe) != nullptr) {
        char address[64], kind[8], name[400];
        if (std::sscanf(line, "%63s %7s %399s", address, kind, name) == 3 && std::string(kind) == "T")
            exported.insert(name);
    }
    ::pclose(pipe);
    std::set<std::string> expected(kExportsByOrdinal + 1, kExportsByOrdinal + 31);
    expected.insert("quendle_proc_by_ordinal");
    EXPECT_EQ(exported, expected);
}

TEST(QuendleLibrary, OrdinalsBindToTheNamedFunctions)
{
    void* library = ::dlopen(QUENDLE_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << ::dlerror();
    using ByOrdinal = QuendleProc (*)(int);
    auto byOrdinal = reinterpret_cast<ByOrdinal>(::dlsym(library, "quendle_proc_by_ordinal"));
    ASSERT_NE(byOrdinal, nullptr);
    for (int ordinal = 1; ordinal <= 30; ++ordinal)
        EXPECT_EQ(reinterpret_cast<void*>(byOrdinal(ordinal)), ::dlsym(library, kExportsByOrdinal[ordinal]))
            << ordinal;
    EXPECT_EQ(byOrdinal(0), nullptr);
    EXPECT_EQ(byOrdinal(31), nullptr);

    // Bound by ordinal, as the automation component does.
    using Convert = int (*)(int, const char*, const char*);
    auto convert = reinterpret_cast<Convert>(byOrdinal(30));
    EXPECT_EQ(convert(0, "text", "/tmp/out.wav"), QUENDLE_ERR_PARAM);
    using Close = int (*)(int);
    EXPECT_EQ(reinterpret_cast<Close>(byOrdinal(24))(0), QUENDLE_ERR_PARAM) << "no connection yet";
    ::dlclose(library);
}

}  // namespace
