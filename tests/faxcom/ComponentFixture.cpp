#include "ComponentFixture.h"

#include <dlfcn.h>
#include <stdlib.h>

#include <opencv2/imgcodecs.hpp>

#include "Bstr.h"

namespace vestrel::faxcomtest {

namespace {

// The process's scratch folder, removed when the process ends.
struct ScratchFolder {
    std::filesystem::path path;
    ~ScratchFolder()
    {
        std::error_code ec;
        if (!path.empty())
            std::filesystem::remove_all(path, ec);
    }
};

}  // namespace

const WimbrelModule& Wimbrel()
{
    static ScratchFolder scratch;
    static const WimbrelModule module = [] {
        WimbrelModule m;
        char pattern[] = "/tmp/wimbrel-test-XXXXXX";
        const char* made = ::mkdtemp(pattern);
        if (made != nullptr)
            scratch.path = made;
        m.scratch = made != nullptr ? made : "/tmp";
        ::setenv("TOLVY_ROOT", m.scratch.c_str(), 1);
        m.handle = ::dlopen(WIMBREL_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
        if (m.handle == nullptr)
            return m;
        m.getClassObject = reinterpret_cast<DllGetClassObjectFn>(::dlsym(m.handle, "DllGetClassObject"));
        m.canUnloadNow = reinterpret_cast<DllCanUnloadNowFn>(::dlsym(m.handle, "DllCanUnloadNow"));
        m.freeString = reinterpret_cast<SysFreeStringFn>(::dlsym(m.handle, "SysFreeString"));
        m.stringLen = reinterpret_cast<SysStringLenFn>(::dlsym(m.handle, "SysStringLen"));
        return m;
    }();
    return module;
}

void ComponentTest::SetUp()
{
    ASSERT_NE(Wimbrel().handle, nullptr) << ::dlerror();
    ASSERT_NE(Wimbrel().getClassObject, nullptr);
    server.addAccount(kAccount, "01", kPassword);
    server.addAccount(kOtherAccount, "02", kPassword);
    port = server.start(0);
    ASSERT_GT(port, 0);
}

void ComponentTest::TearDown()
{
    if (!handles.empty()) {
        Ref<TolvyClientX> client = NewClient();
        for (LONG handle : handles) {
            int32_t result = 0;
            client->lpVtbl->CloseConnection(client.get(), handle, &result);
        }
    }
    server.stop();
}

Ref<TolvyClientX> ComponentTest::NewClient()
{
    return Create<TolvyClientX>(Wimbrel().getClassObject, CLSID_FaxClientX, IID_TolvyClientX);
}

Ref<ISendTask> ComponentTest::NewSendTask()
{
    return Create<ISendTask>(Wimbrel().getClassObject, CLSID_SendTask, IID_ISendTask);
}

Ref<IResultTask> ComponentTest::NewResultTask()
{
    return Create<IResultTask>(Wimbrel().getClassObject, CLSID_ResultTask, IID_IResultTask);
}

LONG ComponentTest::Login(const char* account)
{
    Ref<TolvyClientX> client = NewClient();
    LONG cid = -1;
    EXPECT_EQ(client->lpVtbl->OpenConnectionEx(client.get(), &cid, "127.0.0.1", port, account, kPassword, 0), S_OK);
    if (cid >= 0)
        handles.push_back(cid);
    return cid;
}

std::string ComponentTest::Take(BSTR text) const
{
    const std::string utf8 = com::Utf8FromUtf16(std::u16string_view(text, Wimbrel().stringLen(text)));
    Wimbrel().freeString(text);
    return utf8;
}

std::string ComponentTest::WriteJpg(const std::string& name) const
{
    cv::Mat page(400, 300, CV_8UC3, cv::Scalar(255, 255, 255));
    page(cv::Rect(30, 40, 200, 20)).setTo(cv::Scalar(0, 0, 0));
    const std::string path = (folder.path() / name).string();
    cv::imwrite(path, page);
    return path;
}

std::string ComponentTest::WriteFile(const std::string& name, const std::string& content) const
{
    return folder.writeFile(name, content).string();
}

}  // namespace vestrel::faxcomtest
