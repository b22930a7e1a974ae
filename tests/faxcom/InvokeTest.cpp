// Late binding: names to dispatch ids, and Invoke converting arguments, writing
// out-values back through references and returning the method's own HRESULT.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "Bstr.h"
#include "ClassFactory.h"
#include "Classes.h"
#include "ObjectHelpers.h"
#include "Variant.h"

namespace vestrel::faxcomtest {
namespace {

using com::BstrFromUtf8;
using com::ClearVariant;
using com::Int32Value;

DISPID IdOf(IDispatch* object, const char16_t* name)
{
    OLECHAR_T* names[] = {const_cast<OLECHAR_T*>(name)};
    DISPID id = DISPID_UNKNOWN;
    EXPECT_EQ(object->lpVtbl->GetIDsOfNames(object, &IID_NULL, names, 1, 0x409, &id), S_OK);
    return id;
}

// Calls with the arguments in call order (they are passed last-first, as Invoke expects).
HRESULT Call(IDispatch* object, const char16_t* name, std::vector<VARIANT> arguments, WORD flags = DISPATCH_METHOD,
             VARIANT* result = nullptr, UINT* argError = nullptr)
{
    std::vector<VARIANT> reversed(arguments.rbegin(), arguments.rend());
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    DISPID put = DISPID_PROPERTYPUT;
    if (flags == DISPATCH_PROPERTYPUT) {
        params.rgdispidNamedArgs = &put;
        params.cNamedArgs = 1;
    }
    UINT error = 0;
    return object->lpVtbl->Invoke(object, IdOf(object, name), &IID_NULL, 0x409, flags, &params, result, nullptr,
                                  argError != nullptr ? argError : &error);
}

VARIANT Text(const char* text)
{
    return com::BstrValue(BstrFromUtf8(text));
}

VARIANT RefTo(VARIANT& target)
{
    VARIANT ref{};
    ref.vt = VT_BYREF | VT_VARIANT;
    ref.u.pvarVal = &target;
    return ref;
}

class InvokeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        task = Create<IDispatch>(&faxcom::GetClassObject, CLSID_SendTask, IID_IDispatch);
        result = Create<IDispatch>(&faxcom::GetClassObject, CLSID_ResultTask, IID_IDispatch);
        ASSERT_TRUE(task && result);
    }
    Ref<IDispatch> task;
    Ref<IDispatch> result;
};

TEST_F(InvokeTest, NamesIgnoreCaseAndParametersHaveTheirPositions)
{
    OLECHAR_T* names[] = {const_cast<OLECHAR_T*>(u"getphcalled"), const_cast<OLECHAR_T*>(u"SZGUESTNAME"),
                          const_cast<OLECHAR_T*>(u"mTaskId")};
    DISPID ids[3] = {};
    ASSERT_EQ(task->lpVtbl->GetIDsOfNames(task.get(), &IID_NULL, names, 3, 0x409, ids), S_OK);
    EXPECT_EQ(ids[0], 9);
    EXPECT_EQ(ids[1], 2);
    EXPECT_EQ(ids[2], 4);

    OLECHAR_T* unknown[] = {const_cast<OLECHAR_T*>(u"AddCalled"), const_cast<OLECHAR_T*>(u"nothing")};
    EXPECT_EQ(task->lpVtbl->GetIDsOfNames(task.get(), &IID_NULL, unknown, 2, 0x409, ids), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(ids[0], 1);
    EXPECT_EQ(ids[1], DISPID_UNKNOWN);
    OLECHAR_T* missing[] = {const_cast<OLECHAR_T*>(u"Send")};
    EXPECT_EQ(task->lpVtbl->GetIDsOfNames(task.get(), &IID_NULL, missing, 1, 0x409, ids), DISP_E_UNKNOWNNAME);

    // The spellings clients were written against.
    EXPECT_EQ(IdOf(result.get(), u"BillingFee"), 7);
    EXPECT_EQ(IdOf(task.get(), u"get_PHCount"), 6);
    EXPECT_EQ(IdOf(task.get(), u"Count"), 3);
}

TEST_F(InvokeTest, MethodsTakeConvertedArgumentsAndReturnTheirOwnHresult)
{
    VARIANT number = Text("010-1234");
    VARIANT seven = Text("7");
    EXPECT_EQ(Call(task.get(), u"AddCalled", {number, seven}), S_OK) << "a numeric text converts";
    ClearVariant(number);  // arguments stay the caller's
    ClearVariant(seven);
    VARIANT longNumber = Text("0123456789012345678901234567");
    EXPECT_EQ(Call(task.get(), u"AddCalled", {longNumber, Int32Value(8)}), S_FALSE) << "S_FALSE comes back unchanged";
    ClearVariant(longNumber);

    VARIANT count{};
    EXPECT_EQ(Call(task.get(), u"Count", {}, DISPATCH_PROPERTYGET, &count), S_OK);
    EXPECT_EQ(count.vt, VT_I4);
    EXPECT_EQ(count.u.lVal, 1);
    EXPECT_EQ(Call(task.get(), u"Count", {}, DISPATCH_METHOD | DISPATCH_PROPERTYGET, &count), S_OK);
    EXPECT_EQ(Call(task.get(), u"Count", {}, DISPATCH_METHOD, &count), DISP_E_MEMBERNOTFOUND);

    // A char* out buffer comes back as a BSTR, the task id as an integer.
    VARIANT called{};
    LONG id = 0;
    VARIANT idRef{};
    idRef.vt = VT_BYREF | VT_I4;
    idRef.u.plVal = &id;
    EXPECT_EQ(Call(task.get(), u"GetCalled", {Int32Value(0), RefTo(called), idRef}), S_OK);
    ASSERT_EQ(called.vt, VT_BSTR);
    EXPECT_EQ(com::Utf8FromBstr(called.u.bstrVal), "010-1234");
    EXPECT_EQ(id, 7);

    // Out of range: S_FALSE, and the caller's values stay as they were.
    EXPECT_EQ(Call(task.get(), u"GetCalled", {Int32Value(5), RefTo(called), idRef}), S_FALSE);
    ASSERT_EQ(called.vt, VT_BSTR);
    EXPECT_EQ(com::Utf8FromBstr(called.u.bstrVal), "010-1234");
    EXPECT_EQ(id, 7);
    ClearVariant(called);

    VARIANT phCount{};
    EXPECT_EQ(Call(task.get(), u"CountPH", {RefTo(phCount)}), S_OK);
    EXPECT_EQ(phCount.vt, VT_I4);
    EXPECT_EQ(phCount.u.lVal, 0);
}

TEST_F(InvokeTest, BadArgumentsAreRefusedBeforeTheCall)
{
    UINT argError = 99;
    VARIANT one = Text("1");
    VARIANT notANumber = Text("seven");
    EXPECT_EQ(Call(task.get(), u"AddCalled", {one, notANumber}, DISPATCH_METHOD, nullptr, &argError),
              DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argError, 0u) << "the last argument is rgvarg[0]";
    ClearVariant(one);
    ClearVariant(notANumber);
    EXPECT_EQ(Call(task.get(), u"AddCalled", {Int32Value(1)}), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(Call(task.get(), u"CountPH", {Int32Value(1)}), DISP_E_TYPEMISMATCH) << "an out-value needs a reference";
    // A text cannot be stored through a reference to a number: refused before the call.
    LONG wrongKind = 0;
    VARIANT numberRef{};
    numberRef.vt = VT_BYREF | VT_I4;
    numberRef.u.plVal = &wrongKind;
    VARIANT taskId{};
    argError = 99;
    EXPECT_EQ(Call(task.get(), u"GetCalled", {Int32Value(0), numberRef, RefTo(taskId)}, DISPATCH_METHOD, nullptr,
                   &argError),
              DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argError, 1u);
    VARIANT count{};
    EXPECT_EQ(Call(task.get(), u"Count", {}, DISPATCH_METHOD | DISPATCH_PROPERTYGET, &count), S_OK);
    EXPECT_EQ(count.u.lVal, 0) << "nothing was added by the refused calls";

    DISPPARAMS none{nullptr, nullptr, 0, 0};
    EXPECT_EQ(task->lpVtbl->Invoke(task.get(), 77, &IID_NULL, 0x409, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(task->lpVtbl->Invoke(task.get(), 4, &IID_IDispatch, 0x409, DISPATCH_METHOD, &none, nullptr, nullptr,
                                   nullptr),
              DISP_E_UNKNOWNINTERFACE);
    DISPID named = 0;
    VARIANT index = Int32Value(1);
    DISPPARAMS withNamed{&index, &named, 1, 1};
    EXPECT_EQ(task->lpVtbl->Invoke(task.get(), 6, &IID_NULL, 0x409, DISPATCH_METHOD, &withNamed, nullptr, nullptr,
                                   nullptr),
              DISP_E_NONAMEDARGS);
}

TEST_F(InvokeTest, PropertiesAreReadAndWritten)
{
    EXPECT_EQ(Call(result.get(), u"TaskId", {Int32Value(12)}, DISPATCH_PROPERTYPUT), S_OK);
    VARIANT fee = com::DoubleValue(2.25);
    EXPECT_EQ(Call(result.get(), u"BillingFee", {fee}, DISPATCH_PROPERTYPUT), S_OK);
    VARIANT start = Text("2024-3-7 9:5:0");
    EXPECT_EQ(Call(result.get(), u"StartTime", {start}, DISPATCH_PROPERTYPUT), S_OK);
    ClearVariant(start);

    VARIANT value{};
    EXPECT_EQ(Call(result.get(), u"TaskId", {}, DISPATCH_PROPERTYGET, &value), S_OK);
    EXPECT_EQ(value.vt, VT_I4);
    EXPECT_EQ(value.u.lVal, 12);
    EXPECT_EQ(Call(result.get(), u"BillingFee", {}, DISPATCH_PROPERTYGET, &value), S_OK);
    EXPECT_EQ(value.vt, VT_R8);
    EXPECT_EQ(value.u.dblVal, 2.25);
    EXPECT_EQ(Call(result.get(), u"StartTime", {}, DISPATCH_PROPERTYGET, &value), S_OK);
    ASSERT_EQ(value.vt, VT_BSTR);
    EXPECT_EQ(com::Utf8FromBstr(value.u.bstrVal), "2024-3-7 9:5:0");
    ClearVariant(value);

    EXPECT_EQ(Call(result.get(), u"TaskId", {}, DISPATCH_PROPERTYGET, &value), S_OK);
    EXPECT_EQ(Call(result.get(), u"TaskId", {Int32Value(1)}, DISPATCH_PROPERTYGET, &value), DISP_E_BADPARAMCOUNT);
    VARIANT text = Text("x");
    EXPECT_EQ(Call(result.get(), u"NumOfPages", {text}, DISPATCH_PROPERTYPUT), DISP_E_TYPEMISMATCH);
    ClearVariant(text);
}

TEST_F(InvokeTest, AnObjectArgumentIsAskedForItsInterface)
{
    // A SendTask where an IResultTask is expected cannot be converted; nothing else runs.
    Ref<IDispatch> client;  // FaxClientX is only made once the libraries are bound
    Ref<IClassFactory> factory;
    ASSERT_EQ(faxcom::GetClassObject(&CLSID_FaxClientX, &IID_IClassFactory, factory.out()), S_OK);
    EXPECT_EQ(factory->lpVtbl->CreateInstance(factory.get(), nullptr, &IID_IDispatch, client.out()),
              CLASS_E_CLASSNOTAVAILABLE);

    com::detail::Argument<IResultTask*> argument;
    VARIANT wrong{};
    wrong.vt = VT_DISPATCH;
    wrong.u.pdispVal = task.get();
    EXPECT_EQ(argument.Load(wrong), DISP_E_TYPEMISMATCH);
    VARIANT right{};
    right.vt = VT_DISPATCH;
    right.u.pdispVal = result.get();
    EXPECT_EQ(argument.Load(right), S_OK);
    EXPECT_EQ(static_cast<void*>(argument.Get()), static_cast<void*>(result.get()));
    EXPECT_EQ(RefCount(result.get()), 2u) << "held for the call, released after it";
}

}  // namespace
}  // namespace vestrel::faxcomtest
