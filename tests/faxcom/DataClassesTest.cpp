// SendTask and ResultTask through their vtables, the identity rules every object keeps,
// aggregation, and what keeps the module loaded.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "Bstr.h"
#include "ClassFactory.h"
#include "ObjectHelpers.h"
#include "ResultCopy.h"
#include "quendle.h"

extern "C" {
LONG c_client_add_and_read(ISendTask* task, char number[28]);
size_t c_variant_size(void);
size_t c_dispparams_size(void);
size_t c_client_vtable_size(void);
}

namespace vestrel::faxcomtest {
namespace {

using faxcom::GetClassObject;

Ref<ISendTask> NewSendTask()
{
    return Create<ISendTask>(&GetClassObject, CLSID_SendTask, IID_ISendTask);
}

Ref<IResultTask> NewResultTask()
{
    return Create<IResultTask>(&GetClassObject, CLSID_ResultTask, IID_IResultTask);
}

std::string Text(BSTR text)
{
    std::string s = com::Utf8FromBstr(text);
    SysFreeString(text);
    return s;
}

TEST(SendTask, KeepsDestinationsInOrderAndCopiesThemOut)
{
    Ref<ISendTask> task = NewSendTask();
    const ISendTaskVtbl& v = *task->lpVtbl;
    EXPECT_EQ(v.AddCalled(task.get(), "010-1234", 7), S_OK);
    EXPECT_EQ(v.AddCalled(task.get(), "020-5678", 8), S_OK);
    LONG count = -1;
    EXPECT_EQ(v.get_Count(task.get(), &count), S_OK);
    EXPECT_EQ(count, 2);

    char number[28];
    LONG id = 0;
    EXPECT_EQ(v.GetCalled(task.get(), 1, number, &id), S_OK);
    EXPECT_STREQ(number, "020-5678");
    EXPECT_EQ(id, 8);

    // Outside the list: S_FALSE and the outputs as they were.
    std::strcpy(number, "unchanged");
    id = 99;
    EXPECT_EQ(v.GetCalled(task.get(), 2, number, &id), S_FALSE);
    EXPECT_EQ(v.GetCalled(task.get(), -1, number, &id), S_FALSE);
    EXPECT_STREQ(number, "unchanged");
    EXPECT_EQ(id, 99);

    EXPECT_EQ(v.Clear(task.get()), S_OK);
    EXPECT_EQ(v.get_Count(task.get(), &count), S_OK);
    EXPECT_EQ(count, 0);
}

TEST(SendTask, AClientWrittenInCSeesTheSameObject)
{
    EXPECT_EQ(c_variant_size(), 24u);
    EXPECT_EQ(c_dispparams_size(), sizeof(DISPPARAMS));
    EXPECT_EQ(c_client_vtable_size(), sizeof(TolvyClientXVtbl));
    Ref<ISendTask> task = NewSendTask();
    char number[28] = {};
    EXPECT_EQ(c_client_add_and_read(task.get(), number), 2);
    EXPECT_STREQ(number, "010-2");
}

TEST(SendTask, RefusesTextsLongerThanTheirFields)
{
    Ref<ISendTask> task = NewSendTask();
    const ISendTaskVtbl& v = *task->lpVtbl;
    const std::string number27(27, '1');
    EXPECT_EQ(v.AddCalled(task.get(), number27.c_str(), 1), S_OK);
    EXPECT_EQ(v.AddCalled(task.get(), (number27 + "2").c_str(), 2), S_FALSE);
    LONG count = 0;
    v.get_Count(task.get(), &count);
    EXPECT_EQ(count, 1) << "the long number added nothing";
    char number[28];
    LONG id = 0;
    ASSERT_EQ(v.GetCalled(task.get(), 0, number, &id), S_OK);
    EXPECT_EQ(std::string(number), number27);

    const std::string text51(51, 'g');
    EXPECT_EQ(v.AddPHCalled(task.get(), "123", text51.c_str(), "宋体公司", 5), S_OK);
    EXPECT_EQ(v.AddPHCalled(task.get(), "123", (text51 + "g").c_str(), "c", 6), S_FALSE);
    EXPECT_EQ(v.AddPHCalled(task.get(), "123", "g", (text51 + "c").c_str(), 7), S_FALSE);
    EXPECT_EQ(v.AddPHCalled(task.get(), (number27 + "9").c_str(), "g", "c", 8), S_FALSE);
    LONG phCount = 0;
    EXPECT_EQ(v.get_PHCount(task.get(), &phCount), S_OK);
    EXPECT_EQ(phCount, 1);

    char called[28], guest[52], company[52];
    LONG taskId = 0;
    ASSERT_EQ(v.GetPHCalled(task.get(), 0, called, guest, company, &taskId), S_OK);
    EXPECT_STREQ(called, "123");
    EXPECT_EQ(std::string(guest), text51);
    EXPECT_STREQ(company, "宋体公司");
    EXPECT_EQ(taskId, 5);
    EXPECT_EQ(v.GetPHCalled(task.get(), 1, called, guest, company, &taskId), S_FALSE);
}

TEST(SendTask, CountPHReportsThePageHeaderCountAndClearPHEmptiesOnlyThatList)
{
    Ref<ISendTask> task = NewSendTask();
    const ISendTaskVtbl& v = *task->lpVtbl;
    v.AddPHCalled(task.get(), "1", "a", "b", 1);
    v.AddPHCalled(task.get(), "2", "a", "b", 2);
    v.AddCalled(task.get(), "3", 3);
    LONG count = -5;
    EXPECT_EQ(v.CountPH(task.get(), &count), S_OK);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(v.ClearPH(task.get()), S_OK);
    EXPECT_EQ(v.CountPH(task.get(), &count), S_OK);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(v.get_Count(task.get(), &count), S_OK);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(v.CountPH(task.get(), nullptr), E_POINTER);
}

TEST(ResultTask, PropertiesKeepTheirOwnCopiesAndHandOutNewStrings)
{
    Ref<IResultTask> result = NewResultTask();
    const IResultTaskVtbl& v = *result->lpVtbl;
    BSTR text = com::BstrFromUtf8("2024-3-7 9:5:0");
    EXPECT_EQ(v.put_StartTime(result.get(), text), S_OK);
    text[0] = u'X';  // the caller's string is the caller's
    SysFreeString(text);
    BSTR first = nullptr;
    BSTR second = nullptr;
    EXPECT_EQ(v.get_StartTime(result.get(), &first), S_OK);
    EXPECT_EQ(v.get_StartTime(result.get(), &second), S_OK);
    EXPECT_NE(first, second) << "each get makes a new string";
    EXPECT_EQ(Text(first), "2024-3-7 9:5:0");
    EXPECT_EQ(Text(second), "2024-3-7 9:5:0");

    EXPECT_EQ(v.put_BillingFee(result.get(), 1.75), S_OK);
    double fee = 0;
    EXPECT_EQ(v.get_BillingFee(result.get(), &fee), S_OK);
    EXPECT_EQ(fee, 1.75);
    EXPECT_EQ(v.put_EndTime(result.get(), nullptr), S_OK);
    BSTR end = nullptr;
    EXPECT_EQ(v.get_EndTime(result.get(), &end), S_OK);
    EXPECT_EQ(Text(end), "");
}

TEST(ResultCopy, FillsEveryPropertyAndWritesTimesWithoutPadding)
{
    ResultTask record;
    std::memset(&record, 0, sizeof record);
    record.clientTaskId = 42;
    record.startTime = UTime{2024, 3, 7, 9, 5, 0};
    record.endTime = UTime{2024, 12, 31, 23, 59, 58};
    record.resultCode = -2;
    const int32_t pages = 3, sendTimes = 2;
    const double fee = 0.6;
    std::memcpy(reinterpret_cast<char*>(&record) + 28, &pages, 4);
    std::memcpy(reinterpret_cast<char*>(&record) + 32, &sendTimes, 4);
    std::memcpy(reinterpret_cast<char*>(&record) + 40, &fee, 8);

    Ref<IResultTask> result = NewResultTask();
    ASSERT_EQ(faxcom::CopyResultRecord(record, result.get()), S_OK);
    const IResultTaskVtbl& v = *result->lpVtbl;
    LONG value = 0;
    v.get_TaskId(result.get(), &value);
    EXPECT_EQ(value, 42);
    BSTR text = nullptr;
    v.get_StartTime(result.get(), &text);
    EXPECT_EQ(Text(text), "2024-3-7 9:5:0");
    v.get_EndTime(result.get(), &text);
    EXPECT_EQ(Text(text), "2024-12-31 23:59:58");
    v.get_NumOfPages(result.get(), &value);
    EXPECT_EQ(value, 3);
    v.get_SendTimes(result.get(), &value);
    EXPECT_EQ(value, 2);
    v.get_Result(result.get(), &value);
    EXPECT_EQ(value, -2);
    double copied = 0;
    v.get_BillingFee(result.get(), &copied);
    EXPECT_EQ(copied, 0.6);
}

TEST(ObjectIdentity, QueryInterfaceFollowsTheRules)
{
    Ref<ISendTask> task = NewSendTask();
    void* unknown = nullptr;
    void* dispatch = nullptr;
    void* own = nullptr;
    ASSERT_EQ(task->lpVtbl->QueryInterface(task.get(), &IID_IUnknown, &unknown), S_OK);
    ASSERT_EQ(task->lpVtbl->QueryInterface(task.get(), &IID_IDispatch, &dispatch), S_OK);
    ASSERT_EQ(task->lpVtbl->QueryInterface(task.get(), &IID_ISendTask, &own), S_OK);
    EXPECT_EQ(unknown, task.get()) << "one identity";
    EXPECT_EQ(dispatch, task.get()) << "the dual interface answers for IDispatch";
    EXPECT_EQ(own, task.get());
    EXPECT_EQ(RefCount(task.get()), 4u);
    for (void* p : {unknown, dispatch, own})
        static_cast<IUnknown*>(p)->lpVtbl->Release(static_cast<IUnknown*>(p));
    EXPECT_EQ(RefCount(task.get()), 1u);

    void* other = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(task->lpVtbl->QueryInterface(task.get(), &IID_IResultTask, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(task->lpVtbl->QueryInterface(task.get(), &IID_IClassFactory, &other), E_NOINTERFACE);
    EXPECT_EQ(task->lpVtbl->QueryInterface(task.get(), &IID_ISendTask, nullptr), E_POINTER);
}

// An outer object for aggregation: counts its references and answers QueryInterface for
// itself, forwarding ISendTask to the inner object it holds.
struct Outer {
    IUnknown unknown;
    ULONG refs = 1;
    IUnknown* inner = nullptr;
    static Outer& Of(IUnknown* p) { return *reinterpret_cast<Outer*>(p); }
    static HRESULT QueryInterface(IUnknown* self, const IID* iid, void** out)
    {
        if (std::memcmp(iid, &IID_ISendTask, sizeof(IID)) == 0)
            return Of(self).inner->lpVtbl->QueryInterface(Of(self).inner, iid, out);
        if (std::memcmp(iid, &IID_IUnknown, sizeof(IID)) != 0)
            return E_NOINTERFACE;
        *out = self;
        ++Of(self).refs;
        return S_OK;
    }
    static ULONG AddRef(IUnknown* self) { return ++Of(self).refs; }
    static ULONG Release(IUnknown* self) { return --Of(self).refs; }
};
const IUnknownVtbl kOuterVtbl = {&Outer::QueryInterface, &Outer::AddRef, &Outer::Release};

TEST(Aggregation, OnlyIUnknownIsGivenToAnAggregateAndTheInnerObjectDelegates)
{
    Ref<IClassFactory> factory;
    ASSERT_EQ(GetClassObject(&CLSID_SendTask, &IID_IClassFactory, factory.out()), S_OK);
    Outer outer{{&kOuterVtbl}};
    void* refused = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(factory->lpVtbl->CreateInstance(factory.get(), &outer.unknown, &IID_ISendTask, &refused),
              CLASS_E_NOAGGREGATION);
    EXPECT_EQ(refused, nullptr);
    EXPECT_EQ(factory->lpVtbl->CreateInstance(factory.get(), &outer.unknown, &IID_IDispatch, &refused),
              CLASS_E_NOAGGREGATION);

    ASSERT_EQ(factory->lpVtbl->CreateInstance(factory.get(), &outer.unknown, &IID_IUnknown,
                                              reinterpret_cast<void**>(&outer.inner)),
              S_OK);
    // The aggregate's ISendTask is the inner object's; its IUnknown slots are the outer's.
    void* task = nullptr;
    ASSERT_EQ(outer.unknown.lpVtbl->QueryInterface(&outer.unknown, &IID_ISendTask, &task), S_OK);
    auto* sendTask = static_cast<ISendTask*>(task);
    EXPECT_EQ(outer.refs, 2u) << "the inner object's AddRef went to the outer object";
    void* identity = nullptr;
    ASSERT_EQ(sendTask->lpVtbl->QueryInterface(sendTask, &IID_IUnknown, &identity), S_OK);
    EXPECT_EQ(identity, &outer.unknown) << "the aggregate has one identity: the outer object";
    outer.unknown.lpVtbl->Release(&outer.unknown);
    EXPECT_EQ(sendTask->lpVtbl->AddCalled(sendTask, "123", 1), S_OK);
    sendTask->lpVtbl->Release(sendTask);
    EXPECT_EQ(outer.refs, 1u);
    EXPECT_NE(faxcom::CanUnloadNow(), S_OK);
    outer.inner->lpVtbl->Release(outer.inner);  // the outer object lets its inner object go
}

TEST(Module, CanUnloadOnlyWithoutObjectsFactoriesAndLocks)
{
    ASSERT_EQ(faxcom::CanUnloadNow(), S_OK);
    {
        Ref<IResultTask> result = NewResultTask();
        EXPECT_EQ(faxcom::CanUnloadNow(), S_FALSE);
    }
    EXPECT_EQ(faxcom::CanUnloadNow(), S_OK);

    Ref<IClassFactory> factory;
    ASSERT_EQ(GetClassObject(&CLSID_ResultTask, &IID_IClassFactory, factory.out()), S_OK);
    EXPECT_EQ(faxcom::CanUnloadNow(), S_FALSE) << "a factory held by a client";
    EXPECT_EQ(factory->lpVtbl->LockServer(factory.get(), 1), S_OK);
    factory.reset();
    EXPECT_EQ(faxcom::CanUnloadNow(), S_FALSE) << "locked";
    ASSERT_EQ(GetClassObject(&CLSID_ResultTask, &IID_IUnknown, factory.out()), S_OK);
    EXPECT_EQ(factory->lpVtbl->LockServer(factory.get(), 0), S_OK);
    EXPECT_EQ(factory->lpVtbl->LockServer(factory.get(), 0), S_OK) << "an extra unlock does not go below zero";
    factory.reset();
    EXPECT_EQ(faxcom::CanUnloadNow(), S_OK);

    void* none = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(GetClassObject(&IID_IDispatch, &IID_IClassFactory, &none), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(GetClassObject(&CLSID_SendTask, &IID_ISendTask, &none), E_NOINTERFACE);
}

}  // namespace
}  // namespace vestrel::faxcomtest
