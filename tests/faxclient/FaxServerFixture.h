#pragma once
// A fake fax server on loopback per test, a fresh $TOLVY_ROOT for the connection logs, and
// the user alerts collected instead of printed.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "FakeFaxServer.h"
#include "TempProgramDir.h"
#include "UserAlert.h"
#include "quendle.h"

namespace vestrel::faxtest {

inline constexpr const char* kAccount = "alice";
inline constexpr const char* kSubAccount = "01";
inline constexpr const char* kPassword = "secret";

class FaxServerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::setenv("TOLVY_ROOT", folder.path().c_str(), 1);
        fax::SetUserAlertHandler(
            [](const std::string& text, void* context) {
                static_cast<std::vector<std::string>*>(context)->push_back(text);
            },
            &alerts);
        server.addAccount(kAccount, kSubAccount, kPassword);
        port = server.start(0);
        ASSERT_GT(port, 0);
    }

    void TearDown() override
    {
        for (int handle : handles)
            CloseConnection(handle);
        server.stop();
        fax::SetUserAlertHandler(nullptr, nullptr);
        ::unsetenv("TOLVY_ROOT");
    }

    // Logs in through OpenConnectionEx; the handle is closed after the test.
    int login(int timeoutMs = 3000, int logFlag = 1)
    {
        // A connection the client has just dropped may not be ended on the server's side
        // yet, and the server refuses a second login of a live account: wait for it, as a
        // user reconnecting would have to.
        for (int i = 0; i < 300 && server.liveConnections(kAccount) > 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        int handle = -1;
        const int result = OpenConnectionEx(&handle, "127.0.0.1", port, kAccount, kPassword,
                                            timeoutMs, logFlag);
        if (handle >= 0)
            handles.push_back(handle);
        EXPECT_EQ(result, QUENDLE_OK);
        return handle;
    }

    std::filesystem::path writeFile(const std::string& name, std::size_t size)
    {
        const std::filesystem::path path = folder.path() / name;
        std::ofstream out(path, std::ios::binary);
        for (std::size_t i = 0; i < size; ++i)
            out.put(static_cast<char>((i * 7 + 3) & 0xFF));
        return path;
    }

    std::string logText(int slot) const
    {
        return testkit::TempProgramDir::readFile(folder.path() / ("Raviklog" + std::to_string(slot) + ".txt"));
    }

    static std::vector<FaxNumberEntry> numbers(int count)
    {
        std::vector<FaxNumberEntry> entries(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) {
            const std::string number = "010-" + std::to_string(5550000 + i);
            std::snprintf(entries[static_cast<std::size_t>(i)].faxNumber, 28, "%s", number.c_str());
            entries[static_cast<std::size_t>(i)].clientTaskId = 100 + i;
        }
        return entries;
    }

    testkit::TempProgramDir folder;
    fakefax::FakeFaxServer server;
    int port = -1;
    std::vector<int> handles;
    std::vector<std::string> alerts;
};

}  // namespace vestrel::faxtest
