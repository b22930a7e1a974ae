/* The small COM binary interface that libwimbrel and its clients share: result codes,
 * GUIDs, length-prefixed UTF-16 strings (BSTR), the VARIANT of 64-bit Windows, and the
 * IUnknown, IDispatch and IClassFactory vtables. An object is a pointer to its vtable
 * pointer; every slot takes the object pointer first, in the platform's C calling
 * convention, so clients written in C, C++ or anything with a C foreign-function
 * interface can call it. */
#ifndef VESTREL_COMABI_H
#define VESTREL_COMABI_H

#include <stdint.h>
#ifndef __cplusplus
#include <uchar.h>
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef int32_t HRESULT;
typedef int32_t LONG;      /* COM's 32-bit long, whatever the platform's long is */
typedef uint32_t ULONG;
typedef uint32_t UINT;
typedef uint16_t WORD;
typedef uint16_t VARTYPE;
typedef uint32_t LCID;
typedef int32_t DISPID;
typedef int16_t VARIANT_BOOL;
typedef char16_t OLECHAR_T;
typedef OLECHAR_T* BSTR;   /* preceded by its uint32 byte length, NUL-terminated */

#define S_OK ((HRESULT)0)
#define S_FALSE ((HRESULT)1)
#define E_NOTIMPL ((HRESULT)0x80004001u)
#define E_NOINTERFACE ((HRESULT)0x80004002u)
#define E_POINTER ((HRESULT)0x80004003u)
#define E_FAIL ((HRESULT)0x80004005u)
#define E_OUTOFMEMORY ((HRESULT)0x8007000Eu)
#define E_INVALIDARG ((HRESULT)0x80070057u)
#define CLASS_E_NOAGGREGATION ((HRESULT)0x80040110u)
#define CLASS_E_CLASSNOTAVAILABLE ((HRESULT)0x80040111u)
#define DISP_E_UNKNOWNINTERFACE ((HRESULT)0x80020001u)
#define DISP_E_MEMBERNOTFOUND ((HRESULT)0x80020003u)
#define DISP_E_TYPEMISMATCH ((HRESULT)0x80020005u)
#define DISP_E_UNKNOWNNAME ((HRESULT)0x80020006u)
#define DISP_E_NONAMEDARGS ((HRESULT)0x80020007u)
#define DISP_E_OVERFLOW ((HRESULT)0x8002000Au)
#define DISP_E_BADINDEX ((HRESULT)0x8002000Bu)
#define DISP_E_BADPARAMCOUNT ((HRESULT)0x8002000Eu)
#define SELFREG_E_CLASS ((HRESULT)0x80040201u)

#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#define FAILED(hr) (((HRESULT)(hr)) < 0)

typedef struct GUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
} GUID;
typedef GUID IID;
typedef GUID CLSID;

/* VARIANT types understood by the component (and their VT_BYREF forms). */
enum {
    VT_EMPTY = 0,
    VT_I4 = 3,
    VT_R4 = 4,
    VT_R8 = 5,
    VT_BSTR = 8,
    VT_DISPATCH = 9,
    VT_VARIANT = 12,
    VT_UNKNOWN = 13,
    VT_BYREF = 0x4000
};

/* Invoke flags and special dispatch ids. */
#define DISPATCH_METHOD 1
#define DISPATCH_PROPERTYGET 2
#define DISPATCH_PROPERTYPUT 4
#define DISPATCH_PROPERTYPUTREF 8
#define DISPID_UNKNOWN (-1)
#define DISPID_PROPERTYPUT (-3)

struct IUnknown;
struct IDispatch;

typedef struct VARIANT {
    VARTYPE vt;
    WORD wReserved1;
    WORD wReserved2;
    WORD wReserved3;
    union {
        int64_t llVal;
        LONG lVal;
        float fltVal;
        double dblVal;
        BSTR bstrVal;
        struct IUnknown* punkVal;
        struct IDispatch* pdispVal;
        LONG* plVal;
        float* pfltVal;
        double* pdblVal;
        BSTR* pbstrVal;
        struct IUnknown** ppunkVal;
        struct IDispatch** ppdispVal;
        struct VARIANT* pvarVal;
        void* byref;
        struct {
            void* pvRecord;
            void* pRecInfo;
        } record;
    } u;
} VARIANT;
typedef VARIANT VARIANTARG;

/* Arguments last-first: rgvarg[0] is the last argument. */
typedef struct DISPPARAMS {
    VARIANTARG* rgvarg;
    DISPID* rgdispidNamedArgs;
    UINT cArgs;
    UINT cNamedArgs;
} DISPPARAMS;

typedef struct EXCEPINFO {
    WORD wCode;
    WORD wReserved;
    BSTR bstrSource;
    BSTR bstrDescription;
    BSTR bstrHelpFile;
    uint32_t dwHelpContext;
    void* pvReserved;
    HRESULT (*pfnDeferredFillIn)(struct EXCEPINFO*);
    HRESULT scode;
} EXCEPINFO;

typedef struct IUnknownVtbl {
    HRESULT (*QueryInterface)(struct IUnknown* self, const IID* iid, void** out);
    ULONG (*AddRef)(struct IUnknown* self);
    ULONG (*Release)(struct IUnknown* self);
} IUnknownVtbl;
typedef struct IUnknown {
    const IUnknownVtbl* lpVtbl;
} IUnknown;

/* The three IUnknown slots, then the four IDispatch slots, for an interface type T. */
#define VESTREL_DISPATCH_SLOTS(T)                                                              \
    HRESULT (*QueryInterface)(T * self, const IID* iid, void** out);                           \
    ULONG (*AddRef)(T * self);                                                                 \
    ULONG (*Release)(T * self);                                                                \
    HRESULT (*GetTypeInfoCount)(T * self, UINT * count);                                       \
    HRESULT (*GetTypeInfo)(T * self, UINT index, LCID lcid, void** typeInfo);                  \
    HRESULT (*GetIDsOfNames)(T * self, const IID* iid, OLECHAR_T** names, UINT count, LCID lcid, \
                             DISPID* ids);                                                     \
    HRESULT (*Invoke)(T * self, DISPID id, const IID* iid, LCID lcid, WORD flags,              \
                      DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception, UINT* argError);

struct IDispatch;
typedef struct IDispatchVtbl {
    VESTREL_DISPATCH_SLOTS(struct IDispatch)
} IDispatchVtbl;
typedef struct IDispatch {
    const IDispatchVtbl* lpVtbl;
} IDispatch;

struct IClassFactory;
typedef struct IClassFactoryVtbl {
    HRESULT (*QueryInterface)(struct IClassFactory* self, const IID* iid, void** out);
    ULONG (*AddRef)(struct IClassFactory* self);
    ULONG (*Release)(struct IClassFactory* self);
    HRESULT (*CreateInstance)(struct IClassFactory* self, IUnknown* outer, const IID* iid, void** out);
    HRESULT (*LockServer)(struct IClassFactory* self, int32_t lock);
} IClassFactoryVtbl;
typedef struct IClassFactory {
    const IClassFactoryVtbl* lpVtbl;
} IClassFactory;

/* COM's own interface ids. */
static const IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
static const IID IID_IDispatch = {0x00020400, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
static const IID IID_IClassFactory = {0x00000001, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
static const IID IID_NULL = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};

/* The string functions of a module: a BSTR is freed by the module that made it. */
BSTR SysAllocString(const OLECHAR_T* text);
BSTR SysAllocStringLen(const OLECHAR_T* text, UINT length);
void SysFreeString(BSTR text);
UINT SysStringLen(BSTR text);

/* What a component module exports, as looked up by name with dlsym. */
typedef HRESULT (*DllGetClassObjectFn)(const CLSID* clsid, const IID* iid, void** out);
typedef HRESULT (*DllCanUnloadNowFn)(void);
typedef HRESULT (*DllRegisterServerFn)(void);
typedef BSTR (*SysAllocStringFn)(const OLECHAR_T* text);
typedef BSTR (*SysAllocStringLenFn)(const OLECHAR_T* text, UINT length);
typedef void (*SysFreeStringFn)(BSTR text);
typedef UINT (*SysStringLenFn)(BSTR text);

#ifdef __cplusplus
}

#include <cstddef>
static_assert(sizeof(void*) == 8, "the layouts below are those of 64-bit Windows");
static_assert(sizeof(HRESULT) == 4 && sizeof(LONG) == 4);
static_assert(sizeof(GUID) == 16);
static_assert(offsetof(GUID, Data4) == 8);
static_assert(sizeof(VARIANT) == 24, "the VARIANT of 64-bit Windows");
static_assert(offsetof(VARIANT, u) == 8);
static_assert(sizeof(DISPPARAMS) == 24);
static_assert(offsetof(DISPPARAMS, cArgs) == 16);
static_assert(offsetof(DISPPARAMS, cNamedArgs) == 20);
static_assert(sizeof(IDispatchVtbl) == 7 * sizeof(void*));
static_assert(sizeof(IClassFactoryVtbl) == 5 * sizeof(void*));
#endif

#endif /* VESTREL_COMABI_H */
