#pragma once
// libwimbrel as a client loads it: dlopen'ed once per test process, in a scratch folder of
// its own ($TOLVY_ROOT, set before the load so that the converter started at load works
// there), with a fake fax server on loopback per test.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "FakeFaxServer.h"
#include "ObjectHelpers.h"
#include "TempProgramDir.h"
#include "wimbrel.h"

namespace vestrel::faxcomtest {

struct WimbrelModule {
    void* handle = nullptr;
    DllGetClassObjectFn getClassObject = nullptr;
    DllCanUnloadNowFn canUnloadNow = nullptr;
    SysFreeStringFn freeString = nullptr;
    SysStringLenFn stringLen = nullptr;
    std::filesystem::path scratch;
};

// Loaded at the first call, kept for the life of the process.
const WimbrelModule& Wimbrel();

inline constexpr const char* kAccount = "alice";
inline constexpr const char* kPassword = "secret";
// A second account: the server lets an account hold one live connection.
inline constexpr const char* kOtherAccount = "bob";

class ComponentTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    Ref<TolvyClientX> NewClient();
    Ref<ISendTask> NewSendTask();
    Ref<IResultTask> NewResultTask();
    // Logs in through OpenConnectionEx; the handle is closed after the test.
    LONG Login(const char* account = kAccount);
    std::string Take(BSTR text) const;  // its UTF-8 text; frees it with the component's SysFreeString
    std::string WriteJpg(const std::string& name) const;
    std::string WriteFile(const std::string& name, const std::string& content) const;

    testkit::TempProgramDir folder;
    fakefax::FakeFaxServer server;
    int port = -1;
    std::vector<LONG> handles;
};

}  // namespace vestrel::faxcomtest
