// libwimbrel loaded as clients load it, against a fake fax server: the exports, the
// current connection, sending from a task, cancelling, results, account settings and the
// two converters.

#include <dlfcn.h>

#include <cstdio>
#include <set>

#include "ComponentFixture.h"
#include "FaxTiffCheck.h"
#include "MessageTypes.h"

namespace vestrel::faxcomtest {
namespace {

using doctiff::testing::ExpectFaxPages;

TEST(WimbrelLibrary, ExportsTheEntryPointsAndStringFunctionsOnly)
{
    FILE* pipe = ::popen("nm -D --defined-only " WIMBREL_LIBRARY_PATH, "r");
    ASSERT_NE(pipe, nullptr);
    std::set<std::string> exported;
    char line[512];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        char address[64], kind[8], name[400];
        if (std::sscanf(line, "%63s %7s %399s", address, kind, name) == 3 && std::string(kind) == "T")
            exported.insert(name);
    }
    ::pclose(pipe);
    const std::set<std::string> expected = {"DllGetClassObject", "DllCanUnloadNow", "DllRegisterServer",
                                            "DllUnregisterServer", "SysAllocString",   "SysAllocStringLen",
                                            "SysFreeString",     "SysStringLen"};
    std::set<std::string> ours;
    for (const std::string& name : exported) {
        if (name.rfind("__", 0) != 0 && name.rfind("_Z", 0) != 0 && name != "_init" && name != "_fini")
            ours.insert(name);
    }
    EXPECT_EQ(ours, expected);
}

TEST_F(ComponentTest, ClassObjectsAndUnloadingFollowTheLiveObjects)
{
    const WimbrelModule& w = Wimbrel();
    void* none = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(w.getClassObject(&IID_IDispatch, &IID_IClassFactory, &none), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(w.canUnloadNow(), S_OK);
    {
        Ref<TolvyClientX> client = NewClient();
        ASSERT_TRUE(client);
        EXPECT_EQ(w.canUnloadNow(), S_FALSE);
        void* dispatch = nullptr;
        ASSERT_EQ(client->lpVtbl->QueryInterface(client.get(), &IID_IDispatch, &dispatch), S_OK);
        EXPECT_EQ(dispatch, client.get());
        static_cast<IDispatch*>(dispatch)->lpVtbl->Release(static_cast<IDispatch*>(dispatch));
    }
    EXPECT_EQ(w.canUnloadNow(), S_OK);
    Ref<IClassFactory> factory;
    ASSERT_EQ(w.getClassObject(&CLSID_FaxClientX, &IID_IClassFactory, factory.out()), S_OK);
    factory->lpVtbl->LockServer(factory.get(), 1);
    factory.reset();
    EXPECT_EQ(w.canUnloadNow(), S_FALSE);
    ASSERT_EQ(w.getClassObject(&CLSID_FaxClientX, &IID_IClassFactory, factory.out()), S_OK);
    factory->lpVtbl->LockServer(factory.get(), 0);
    factory.reset();
    EXPECT_EQ(w.canUnloadNow(), S_OK);
}

TEST_F(ComponentTest, TheLatestSuccessfulOpenIsTheCurrentConnectionForConversions)
{
    Ref<TolvyClientX> client = NewClient();
    const TolvyClientXVtbl& v = *client->lpVtbl;
    const LONG first = Login();
    const LONG second = Login(kOtherAccount);
    ASSERT_NE(first, second);
    const std::string jpg = WriteJpg("page.jpg");
    const std::string out = (folder.path() / "out.tif").string();
    int32_t result = 99;
    EXPECT_EQ(v.ConvertFileToTif(client.get(), first, jpg.c_str(), out.c_str(), &result), S_FALSE);
    EXPECT_EQ(result, -3);
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_EQ(v.ConvertText2Tif(client.get(), first, jpg.c_str(), out.c_str(), &result), S_FALSE);
    EXPECT_EQ(result, -3);

    // A failed open changes nothing; closing does not reset the current connection.
    LONG failed = -1;
    EXPECT_EQ(v.OpenConnection(client.get(), &failed, "127.0.0.1", port, kAccount, "01", "wrong", 0), S_FALSE);
    if (failed >= 0)
        handles.push_back(failed);
    int32_t closed = 0;
    EXPECT_EQ(v.CloseConnection(client.get(), second, &closed), S_OK);
    EXPECT_EQ(closed, 0);
    EXPECT_EQ(v.ConvertFileToTif(client.get(), second, (jpg + ";" + jpg).c_str(), out.c_str(), &result), S_OK);
    EXPECT_EQ(result, 2) << "a two-page conversion";
    ExpectFaxPages(out, 2);

    std::filesystem::remove(out);
    const std::string pdf = WriteFile("doc.pdf", "%PDF-1.4\n");
    EXPECT_EQ(v.ConvertFileToTif(client.get(), second, pdf.c_str(), out.c_str(), &result), S_FALSE);
    EXPECT_EQ(result, 0) << "a failed conversion";
}

TEST_F(ComponentTest, OpenConnectionLogsInWithTheSubAccount)
{
    Ref<TolvyClientX> client = NewClient();
    LONG cid = -1;
    EXPECT_EQ(client->lpVtbl->OpenConnection(client.get(), &cid, "127.0.0.1", port, kAccount, "01", kPassword, 0),
              S_OK);
    ASSERT_GE(cid, 0);
    handles.push_back(cid);
    const auto auth = server.framesOfType(fax::REQ_SERVER_AUTH);
    ASSERT_EQ(auth.size(), 1u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(auth[0].body.data()) + 12), "01");
    const std::string jpg = WriteJpg("page.jpg");
    int32_t result = 0;
    EXPECT_EQ(client->lpVtbl->ConvertFileToTif(client.get(), cid, jpg.c_str(),
                                               (folder.path() / "one.tif").string().c_str(), &result),
              S_OK);
    EXPECT_EQ(result, 1);
}

TEST_F(ComponentTest, SendingTakesTheTaskListAndEmptiesIt)
{
    Ref<TolvyClientX> client = NewClient();
    Ref<ISendTask> task = NewSendTask();
    const LONG cid = Login();
    const std::string document = WriteFile("page.tif", std::string(3000, 'x'));
    task->lpVtbl->AddCalled(task.get(), "010-1234", 11);
    task->lpVtbl->AddCalled(task.get(), "020-5678", 12);
    BSTR jobNo = nullptr;
    int32_t result = 99;
    ASSERT_EQ(client->lpVtbl->SendFaxToServer(client.get(), cid, document.c_str(), 2, task.get(), 0, &jobNo, &result),
              S_OK);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Take(jobNo), "J00000001");
    const auto jobs = server.jobs();
    ASSERT_EQ(jobs.size(), 1u);
    ASSERT_EQ(jobs[0].destinations.size(), 2u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(jobs[0].destinations[1].data())), "020-5678");
    int32_t kind = 0;
    std::memcpy(&kind, jobs[0].jobBody.data() + 168, 4);
    EXPECT_EQ(kind, 2) << "the priority is the job kind";
    EXPECT_EQ(server.uploadedFiles().at("SendFax\\J00000001.tif").size(), 3000u);

    LONG count = -1;
    task->lpVtbl->get_Count(task.get(), &count);
    EXPECT_EQ(count, 0) << "the task's list was emptied";
    task->lpVtbl->AddCalled(task.get(), "030-1", 13);
    ASSERT_EQ(client->lpVtbl->SendFaxToServer(client.get(), cid, document.c_str(), 1, task.get(), 0, &jobNo, &result),
              S_OK);
    Take(jobNo);
    ASSERT_EQ(server.jobs().size(), 2u);
    EXPECT_EQ(server.jobs()[1].destinations.size(), 1u) << "a new list";

    // A refused send still empties the list and reports the library's code.
    task->lpVtbl->AddCalled(task.get(), "+49 30", 14);
    EXPECT_EQ(client->lpVtbl->SendFaxToServer(client.get(), cid, document.c_str(), 1, task.get(), 0, &jobNo, &result),
              S_FALSE);
    EXPECT_EQ(result, -8);
    Take(jobNo);
    task->lpVtbl->get_Count(task.get(), &count);
    EXPECT_EQ(count, 0);
}

TEST_F(ComponentTest, AnEmptyTaskSendsNothingAndGivesMinusThree)
{
    Ref<TolvyClientX> client = NewClient();
    Ref<ISendTask> task = NewSendTask();
    const LONG cid = Login();
    BSTR jobNo = nullptr;
    int32_t result = 99;
    EXPECT_EQ(client->lpVtbl->SendFaxToServer(client.get(), cid, "/none.tif", 1, task.get(), 0, &jobNo, &result),
              S_FALSE);
    EXPECT_EQ(result, -3);
    EXPECT_EQ(jobNo, nullptr);
    result = 99;
    EXPECT_EQ(client->lpVtbl->SendPHFaxToServer(client.get(), cid, "/none.tif", 1, nullptr, 0, &jobNo, &result),
              S_FALSE);
    EXPECT_EQ(result, -3);
    EXPECT_TRUE(server.framesOfType(fax::REQ_INITSEND_CLIJOB).empty());
}

TEST_F(ComponentTest, PageHeaderSendingUsesThePageHeaderList)
{
    Ref<TolvyClientX> client = NewClient();
    Ref<ISendTask> task = NewSendTask();
    const LONG cid = Login();
    const std::string document = WriteFile("page.jpg", "jpeg bytes");
    task->lpVtbl->AddCalled(task.get(), "999", 1);
    task->lpVtbl->AddPHCalled(task.get(), "010-1", "王先生", "Acme", 21);
    BSTR jobNo = nullptr;
    int32_t result = 99;
    ASSERT_EQ(client->lpVtbl->SendPHFaxToServer(client.get(), cid, document.c_str(), 1, task.get(), 0, &jobNo, &result),
              S_OK);
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(Take(jobNo).empty());
    const auto jobs = server.jobs();
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].destinationType, static_cast<uint32_t>(fax::REQ_SEND_CLIPHTASK));
    ASSERT_EQ(jobs[0].destinations.size(), 1u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(jobs[0].destinations[0].data()) + 28), "王先生");
    LONG count = -1;
    task->lpVtbl->get_PHCount(task.get(), &count);
    EXPECT_EQ(count, 0);
    task->lpVtbl->get_Count(task.get(), &count);
    EXPECT_EQ(count, 1) << "the plain list is not touched";
}

TEST_F(ComponentTest, CancellingThreeDestinationsGivesThreeAndSFalse)
{
    server.setHoldResults(true);
    Ref<TolvyClientX> client = NewClient();
    Ref<ISendTask> task = NewSendTask();
    const LONG cid = Login();
    const std::string document = WriteFile("page.tif", "tiff");
    for (int i = 0; i < 3; ++i)
        task->lpVtbl->AddCalled(task.get(), ("010-" + std::to_string(i)).c_str(), i);
    BSTR jobNo = nullptr;
    int32_t result = 0;
    ASSERT_EQ(client->lpVtbl->SendFaxToServer(client.get(), cid, document.c_str(), 1, task.get(), 0, &jobNo, &result),
              S_OK);
    const std::string job = Take(jobNo);
    EXPECT_EQ(client->lpVtbl->CancelSendJob(client.get(), cid, job.c_str(), &result), S_FALSE);
    EXPECT_EQ(result, 3);
    EXPECT_EQ(client->lpVtbl->CancelSendJob(client.get(), cid, job.c_str(), &result), S_OK);
    EXPECT_EQ(result, 0) << "nothing left to cancel";
}

TEST_F(ComponentTest, ResultsArePickedIntoResultTaskObjects)
{
    Ref<TolvyClientX> client = NewClient();
    Ref<ISendTask> task = NewSendTask();
    Ref<IResultTask> record = NewResultTask();
    const LONG cid = Login();
    task->lpVtbl->AddCalled(task.get(), "010-1", 31);
    task->lpVtbl->AddCalled(task.get(), "010-2", 32);
    BSTR jobNo = nullptr;
    int32_t result = 0;
    const std::string document = WriteFile("page.tif", "tiff");
    ASSERT_EQ(client->lpVtbl->SendFaxToServer(client.get(), cid, document.c_str(), 1, task.get(), 0, &jobNo, &result),
              S_OK);
    const std::string job = Take(jobNo);

    LONG waiting = -1;
    EXPECT_EQ(client->lpVtbl->QueryResultForNewTasks(client.get(), cid, &waiting, &result), S_OK);
    EXPECT_EQ(waiting, 2);
    EXPECT_EQ(client->lpVtbl->PickResultTask(client.get(), cid, record.get(), &result), S_OK);
    LONG taskId = 0;
    record->lpVtbl->get_TaskId(record.get(), &taskId);
    EXPECT_EQ(taskId, 31);
    BSTR start = nullptr;
    record->lpVtbl->get_StartTime(record.get(), &start);
    const std::string startText = Take(start);
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    EXPECT_EQ(std::sscanf(startText.c_str(), "%d-%d-%d %d:%d:%d", &y, &mo, &d, &h, &mi, &s), 6) << startText;
    EXPECT_GE(y, 2024);

    EXPECT_EQ(client->lpVtbl->PickResultTask(client.get(), cid, record.get(), &result), S_OK);
    EXPECT_EQ(client->lpVtbl->PickResultTask(client.get(), cid, record.get(), &result), S_FALSE);
    EXPECT_EQ(result, -7);
    record->lpVtbl->get_TaskId(record.get(), &taskId);
    EXPECT_EQ(taskId, 32) << "a failed pick leaves the object as it was";

    EXPECT_EQ(client->lpVtbl->QueryResultTaskByJobNoTaskId(client.get(), cid, job.c_str(), 31, record.get(), &result),
              S_OK);
    record->lpVtbl->get_TaskId(record.get(), &taskId);
    EXPECT_EQ(taskId, 31);
    EXPECT_EQ(client->lpVtbl->QueryResultTaskByJobNoTaskId(client.get(), cid, job.c_str(), 77, record.get(), &result),
              S_FALSE);
    EXPECT_EQ(result, -7);
    EXPECT_EQ(client->lpVtbl->PickResultTask(client.get(), cid, nullptr, &result), E_POINTER);
}

TEST_F(ComponentTest, AccountSettingsRoundTripAndLongStationIdsAreRefused)
{
    Ref<TolvyClientX> client = NewClient();
    const TolvyClientXVtbl& v = *client->lpVtbl;
    const LONG cid = Login();
    int32_t result = 99;
    EXPECT_EQ(v.ModifyUserSetting(client.get(), cid, 45, 2, "站点 ONE", &result), S_OK);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(std::string(server.userSetting(kAccount).stationId), "站点 ONE");

    int32_t timeout = 0, prompt = 0;
    float balance = 0;
    BSTR sid = nullptr;
    EXPECT_EQ(v.GetUserSettting(client.get(), cid, &timeout, &prompt, &sid, &balance, &result), S_OK);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(timeout, 45);
    EXPECT_EQ(prompt, 2);
    EXPECT_EQ(Take(sid), "站点 ONE");
    EXPECT_EQ(balance, 123.5f);

    const std::string station99(99, 's');
    EXPECT_EQ(v.ModifyUserSetting(client.get(), cid, 1, 1, station99.c_str(), &result), S_OK);
    server.clearFrames();
    EXPECT_EQ(v.ModifyUserSetting(client.get(), cid, 1, 1, (station99 + "s").c_str(), &result), S_FALSE);
    EXPECT_EQ(result, -3);
    EXPECT_TRUE(server.framesOfType(fax::REQ_MODIFY_USERSETTING).empty()) << "refused before anything was sent";
    EXPECT_EQ(std::string(server.userSetting(kAccount).stationId), station99);

    // After a failure the station id is still a new (empty) string.
    timeout = 7;
    EXPECT_EQ(v.GetUserSettting(client.get(), 55, &timeout, &prompt, &sid, &balance, &result), S_FALSE);
    EXPECT_EQ(result, -3);
    ASSERT_NE(sid, nullptr);
    EXPECT_EQ(Take(sid), "");
    EXPECT_EQ(timeout, 7);
}

TEST_F(ComponentTest, TextFilesBecomeFaxPages)
{
    Ref<TolvyClientX> client = NewClient();
    const LONG cid = Login();
    const std::string text = WriteFile("note.txt", "传真测试 fax test\n第二行\n");
    const std::string out = (folder.path() / "note.tif").string();
    int32_t result = 0;
    EXPECT_EQ(client->lpVtbl->ConvertText2Tif(client.get(), cid, text.c_str(), out.c_str(), &result), S_OK);
    EXPECT_EQ(result, 1);
    ExpectFaxPages(out, 1);
    EXPECT_EQ(client->lpVtbl->ConvertText2Tif(client.get(), cid, (folder.path() / "missing.txt").string().c_str(),
                                              out.c_str(), &result),
              S_FALSE);
    EXPECT_EQ(result, 0);
}

}  // namespace
}  // namespace vestrel::faxcomtest
