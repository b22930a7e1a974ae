/* libwimbrel: the fax automation component. Three classes behind dual interfaces
 * (vtable and IDispatch), created through DllGetClassObject, registered by ProgID in the
 * component registry file. Text parameters (char*) are UTF-8; BSTR results are new
 * strings that the caller frees with SysFreeString. Library results come back in the
 * mResult out-parameters; the HRESULT of a method is S_OK or S_FALSE. */
#ifndef VESTREL_WIMBREL_H
#define VESTREL_WIMBREL_H

#include "comabi.h"

#ifdef __cplusplus
extern "C" {
#endif

struct ISendTask;
struct IResultTask;

struct TolvyClientX;
typedef struct TolvyClientXVtbl {
    VESTREL_DISPATCH_SLOTS(struct TolvyClientX)
    HRESULT (*OpenConnection)(struct TolvyClientX* self, LONG* mCid, const char* mIpAddrOfServer,
                              int32_t mTcpPortOfServer, const char* mUserId, const char* mSubId,
                              const char* mPassword, LONG mTraceFlag);
    HRESULT (*SendFaxToServer)(struct TolvyClientX* self, LONG mCid, const char* faxFileName,
                               LONG priority, struct ISendTask* Task, int32_t numOfTask, BSTR* jobNo,
                               int32_t* mResult);
    HRESULT (*CancelSendJob)(struct TolvyClientX* self, LONG mCid, const char* mJobNo, int32_t* mResult);
    HRESULT (*QueryResultForNewTasks)(struct TolvyClientX* self, LONG mCid, LONG* numOfTasks,
                                      int32_t* mResult);
    HRESULT (*CloseConnection)(struct TolvyClientX* self, int32_t mCid, int32_t* mResult);
    HRESULT (*PickResultTask)(struct TolvyClientX* self, LONG mCid, struct IResultTask* mResultTask,
                              int32_t* mResult);
    HRESULT (*SendPHFaxToServer)(struct TolvyClientX* self, LONG mCid, const char* faxFileName,
                                 LONG priority, struct ISendTask* Task, int32_t numOfTask, BSTR* jobNo,
                                 int32_t* mResult);
    HRESULT (*ConvertFileToTif)(struct TolvyClientX* self, LONG mCid, const char* mSrcFile,
                                const char* mDestFile, int32_t* mResult);
    HRESULT (*OpenConnectionEx)(struct TolvyClientX* self, LONG* mCid, const char* mIpAddrOfServer,
                                int32_t mTcpPortOfServer, const char* mUserIdEx, const char* mPassword,
                                LONG mTraceFlag);
    HRESULT (*GetUserSettting)(struct TolvyClientX* self, LONG mCid, int32_t* mFaxDetectTimeout,
                               int32_t* mPromptLanguage, BSTR* mFaxSid, float* mBalance,
                               int32_t* mResult);
    HRESULT (*ModifyUserSetting)(struct TolvyClientX* self, LONG mCid, int32_t mFaxDetetectTimeout,
                                 int32_t mPromptLanguage, const char* mFaxSid, int32_t* mResult);
    HRESULT (*ConvertText2Tif)(struct TolvyClientX* self, LONG mCid, const char* mSrcTextFile,
                               const char* mDestTifFile, int32_t* mResult);
    HRESULT (*QueryResultTaskByJobNoTaskId)(struct TolvyClientX* self, LONG mCid, const char* mJobNo,
                                            LONG mTaskId, struct IResultTask* mResultTask,
                                            int32_t* mResult);
} TolvyClientXVtbl;
typedef struct TolvyClientX {
    const TolvyClientXVtbl* lpVtbl;
} TolvyClientX;

typedef struct ISendTaskVtbl {
    VESTREL_DISPATCH_SLOTS(struct ISendTask)
    HRESULT (*AddCalled)(struct ISendTask* self, const char* szCalled, LONG TaskId);
    /* szCall: a buffer of at least 28 bytes. */
    HRESULT (*GetCalled)(struct ISendTask* self, LONG Index, char* szCall, LONG* TaskId);
    HRESULT (*get_Count)(struct ISendTask* self, LONG* pVal);
    HRESULT (*Clear)(struct ISendTask* self);
    HRESULT (*AddPHCalled)(struct ISendTask* self, const char* szCalled, const char* szGuestName,
                           const char* szGuestCompany, LONG mTaskId);
    HRESULT (*get_PHCount)(struct ISendTask* self, LONG* pVal);
    HRESULT (*ClearPH)(struct ISendTask* self);
    HRESULT (*CountPH)(struct ISendTask* self, LONG* pVal);
    /* Buffers of at least 28, 52 and 52 bytes. */
    HRESULT (*GetPHCalled)(struct ISendTask* self, LONG Index, char* szCalled, char* szGuestName,
                           char* szGuestCompany, LONG* mTaskId);
} ISendTaskVtbl;
typedef struct ISendTask {
    const ISendTaskVtbl* lpVtbl;
} ISendTask;

typedef struct IResultTaskVtbl {
    VESTREL_DISPATCH_SLOTS(struct IResultTask)
    HRESULT (*get_TaskId)(struct IResultTask* self, LONG* pVal);
    HRESULT (*put_TaskId)(struct IResultTask* self, LONG newVal);
    HRESULT (*get_StartTime)(struct IResultTask* self, BSTR* pVal);
    HRESULT (*put_StartTime)(struct IResultTask* self, BSTR newVal);
    HRESULT (*get_EndTime)(struct IResultTask* self, BSTR* pVal);
    HRESULT (*put_EndTime)(struct IResultTask* self, BSTR newVal);
    HRESULT (*get_NumOfPages)(struct IResultTask* self, LONG* pVal);
    HRESULT (*put_NumOfPages)(struct IResultTask* self, LONG newVal);
    HRESULT (*get_SendTimes)(struct IResultTask* self, LONG* pVal);
    HRESULT (*put_SendTimes)(struct IResultTask* self, LONG newVal);
    HRESULT (*get_Result)(struct IResultTask* self, LONG* pVal);
    HRESULT (*put_Result)(struct IResultTask* self, LONG newVal);
    HRESULT (*get_BillingFee)(struct IResultTask* self, double* pVal);
    HRESULT (*put_BillingFee)(struct IResultTask* self, double newVal);
} IResultTaskVtbl;
typedef struct IResultTask {
    const IResultTaskVtbl* lpVtbl;
} IResultTask;

/* The component's own fixed identities. */
static const CLSID CLSID_FaxClientX = {0x8a76be4b, 0xa23c, 0x416a, {0xb8, 0x21, 0x19, 0x86, 0xc2, 0x07, 0xc9, 0xe1}};
static const CLSID CLSID_SendTask = {0x39ba7dca, 0x6d8b, 0x41df, {0xaa, 0x45, 0xbc, 0x84, 0xd3, 0x44, 0xb8, 0xfd}};
static const CLSID CLSID_ResultTask = {0xb1b55fd1, 0x2944, 0x4ed7, {0x9d, 0xbe, 0xd2, 0x8f, 0x13, 0x1d, 0x3a, 0x58}};
static const IID IID_TolvyClientX = {0xfd5698c9, 0xfa23, 0x4b58, {0x84, 0xc9, 0xdc, 0x63, 0x6c, 0xe6, 0x06, 0xa8}};
static const IID IID_ISendTask = {0x3c5a5bf0, 0x3ad1, 0x4e8e, {0xba, 0x74, 0x82, 0xfa, 0x17, 0xc4, 0x75, 0x9d}};
static const IID IID_IResultTask = {0x2944bf1c, 0xaea5, 0x492f, {0x8d, 0x91, 0xd1, 0x2e, 0x90, 0x80, 0x2f, 0x9f}};
static const GUID LIBID_WIMBRELLib = {0xac0b16ad, 0xb74f, 0x4e3c, {0x92, 0x91, 0x13, 0x2a, 0x2e, 0x87, 0xff, 0x05}};

HRESULT DllGetClassObject(const CLSID* clsid, const IID* iid, void** out);
HRESULT DllCanUnloadNow(void);
HRESULT DllRegisterServer(void);
HRESULT DllUnregisterServer(void);
/* SysAllocString, SysAllocStringLen, SysFreeString and SysStringLen: see comabi.h. */

#ifdef __cplusplus
}

static_assert(sizeof(TolvyClientXVtbl) == (7 + 13) * sizeof(void*));
static_assert(offsetof(TolvyClientXVtbl, OpenConnection) == 7 * sizeof(void*));
static_assert(offsetof(TolvyClientXVtbl, QueryResultTaskByJobNoTaskId) == 19 * sizeof(void*));
static_assert(sizeof(ISendTaskVtbl) == (7 + 9) * sizeof(void*));
static_assert(offsetof(ISendTaskVtbl, GetPHCalled) == 15 * sizeof(void*));
static_assert(sizeof(IResultTaskVtbl) == (7 + 14) * sizeof(void*));
static_assert(offsetof(IResultTaskVtbl, put_BillingFee) == 20 * sizeof(void*));
#endif

#endif /* VESTREL_WIMBREL_H */
