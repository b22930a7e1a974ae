#include "ScriptRunner.h"

#include "Bstr.h"
#include "Variant.h"

#include <cstdio>

namespace vestrel::wimbrelscript {
namespace {

constexpr LCID kEnglish = 0x409;

std::string Quoted(const std::string& text)
{
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + '"';
}

}  // namespace

const char* HresultName(HRESULT hr)
{
    switch (hr) {
    case S_OK: return "S_OK";
    case S_FALSE: return "S_FALSE";
    case E_NOTIMPL: return "E_NOTIMPL";
    case E_NOINTERFACE: return "E_NOINTERFACE";
    case E_POINTER: return "E_POINTER";
    case E_FAIL: return "E_FAIL";
    case E_OUTOFMEMORY: return "E_OUTOFMEMORY";
    case E_INVALIDARG: return "E_INVALIDARG";
    case CLASS_E_NOAGGREGATION: return "CLASS_E_NOAGGREGATION";
    case CLASS_E_CLASSNOTAVAILABLE: return "CLASS_E_CLASSNOTAVAILABLE";
    case DISP_E_UNKNOWNINTERFACE: return "DISP_E_UNKNOWNINTERFACE";
    case DISP_E_MEMBERNOTFOUND: return "DISP_E_MEMBERNOTFOUND";
    case DISP_E_TYPEMISMATCH: return "DISP_E_TYPEMISMATCH";
    case DISP_E_UNKNOWNNAME: return "DISP_E_UNKNOWNNAME";
    case DISP_E_NONAMEDARGS: return "DISP_E_NONAMEDARGS";
    case DISP_E_OVERFLOW: return "DISP_E_OVERFLOW";
    case DISP_E_BADINDEX: return "DISP_E_BADINDEX";
    case DISP_E_BADPARAMCOUNT: return "DISP_E_BADPARAMCOUNT";
    case SELFREG_E_CLASS: return "SELFREG_E_CLASS";
    default: return "";
    }
}

std::string DescribeHresult(HRESULT hr)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<uint32_t>(hr));
    const std::string name = HresultName(hr);
    return name.empty() ? std::string(text) : std::string(text) + " " + name;
}

ScriptRunner::ScriptRunner(ComponentHost& host, std::ostream& out) : host_(host), out_(out) {}

ScriptRunner::~ScriptRunner()
{
    for (auto& [name, variable] : variables_)
        com::ClearVariant(variable.value, variable.module != nullptr ? variable.module->freeString : &SysFreeString);
}

int ScriptRunner::Run(const std::vector<Statement>& statements)
{
    for (const Statement& statement : statements) {
        if (!Execute(statement))
            return 1;
    }
    return 0;
}

bool ScriptRunner::Execute(const Statement& statement)
{
    return statement.kind == Statement::Kind::Create ? Create(statement) : Invoke(statement);
}

void ScriptRunner::Fail(const Statement& statement, const std::string& message)
{
    out_ << "line " << statement.line << ": " << message << '\n';
}

void ScriptRunner::Assign(const std::string& name, VARIANT value, Module* module)
{
    Variable& variable = variables_[name];
    com::ClearVariant(variable.value, variable.module != nullptr ? variable.module->freeString : &SysFreeString);
    variable.value = value;
    variable.module = module;
}

bool ScriptRunner::Create(const Statement& statement)
{
    IDispatch* object = nullptr;
    Module* module = nullptr;
    std::string error;
    const HRESULT hr = host_.Create(statement.progId, object, module, error);
    out_ << statement.target << " = create " << statement.progId << " -> " << DescribeHresult(hr) << '\n';
    if (FAILED(hr)) {
        Fail(statement, error);
        return false;
    }
    VARIANT value{};
    value.vt = VT_DISPATCH;
    value.u.pdispVal = object;
    Assign(statement.target, value, module);
    return true;
}

bool ScriptRunner::ObjectOf(const Statement& statement, Variable*& object)
{
    const auto found = variables_.find(statement.object);
    if (found == variables_.end() || found->second.value.vt != VT_DISPATCH || found->second.value.u.pdispVal == nullptr) {
        Fail(statement, statement.object + " is not an object");
        return false;
    }
    object = &found->second;
    return true;
}

bool ScriptRunner::Invoke(const Statement& statement)
{
    Variable* object = nullptr;
    if (!ObjectOf(statement, object))
        return false;
    IDispatch* dispatch = object->value.u.pdispVal;
    Module* module = object->module;

    std::u16string member = com::Utf16FromUtf8(statement.member);
    OLECHAR_T* names[] = {member.data()};
    DISPID id = DISPID_UNKNOWN;
    HRESULT hr = dispatch->lpVtbl->GetIDsOfNames(dispatch, &IID_NULL, names, 1, kEnglish, &id);
    if (FAILED(hr)) {
        out_ << statement.object << '.' << statement.member << " -> " << DescribeHresult(hr) << '\n';
        Fail(statement, statement.object + " has no member " + statement.member);
        return false;
    }

    // DISPPARAMS hold the arguments last-first. Texts are strings of the callee's module,
    // freed after the call; names pass what they hold, &names a reference to it.
    const std::size_t count = statement.arguments.size();
    std::vector<VARIANT> arguments(count);
    std::vector<BSTR> texts;
    std::vector<std::string> outNames;
    for (std::size_t i = 0; i < count; ++i) {
        const Argument& a = statement.arguments[i];
        VARIANT& v = arguments[count - 1 - i];
        switch (a.kind) {
        case Argument::Kind::Integer: v = com::Int32Value(static_cast<int32_t>(a.integer)); break;
        case Argument::Kind::Number: v = com::DoubleValue(a.number); break;
        case Argument::Kind::Text: {
            const std::u16string text = com::Utf16FromUtf8(a.text);
            texts.push_back(module->allocStringLen(text.data(), static_cast<UINT>(text.size())));
            v.vt = VT_BSTR;
            v.u.bstrVal = texts.back();
            break;
        }
        case Argument::Kind::Name: {
            const auto found = variables_.find(a.text);
            if (found == variables_.end()) {
                for (BSTR t : texts)
                    module->freeString(t);
                Fail(statement, a.text + " has no value yet");
                return false;
            }
            v = found->second.value;  // lent for the call
            break;
        }
        case Argument::Kind::OutName: {
            Variable& target = variables_[a.text];
            if (target.module == nullptr)
                target.module = module;
            v.vt = VT_BYREF | VT_VARIANT;
            v.u.pvarVal = &target.value;
            outNames.push_back(a.text);
            break;
        }
        }
    }

    DISPPARAMS params{arguments.data(), nullptr, static_cast<UINT>(count), 0};
    DISPID putId = DISPID_PROPERTYPUT;
    WORD flags = DISPATCH_METHOD;
    if (statement.kind == Statement::Kind::Get) {
        flags = DISPATCH_PROPERTYGET;
    } else if (statement.kind == Statement::Kind::Put) {
        flags = DISPATCH_PROPERTYPUT;
        params.rgdispidNamedArgs = &putId;
        params.cNamedArgs = 1;
    }
    VARIANT result{};
    UINT argError = 0;
    hr = dispatch->lpVtbl->Invoke(dispatch, id, &IID_NULL, kEnglish, flags, &params, &result, nullptr, &argError);
    for (BSTR t : texts)
        module->freeString(t);

    out_ << statement.object << '.' << statement.member << " -> " << DescribeHresult(hr) << '\n';
    if (FAILED(hr)) {
        com::ClearVariant(result, module->freeString);
        if (hr == DISP_E_TYPEMISMATCH || hr == DISP_E_OVERFLOW)
            Fail(statement, "argument " + std::to_string(count - argError) + " does not fit its parameter");
        else
            Fail(statement, "the call failed");
        return false;
    }
    for (const std::string& name : outNames)
        out_ << "  " << name << " = " << Format(variables_[name].value) << '\n';
    if (statement.kind == Statement::Kind::Get) {
        out_ << "  " << (statement.target.empty() ? statement.member : statement.target) << " = " << Format(result)
             << '\n';
        if (!statement.target.empty()) {
            Assign(statement.target, result, module);
            return true;
        }
    }
    com::ClearVariant(result, module->freeString);
    return true;
}

std::string ScriptRunner::Format(const VARIANT& value) const
{
    char text[64];
    switch (value.vt) {
    case VT_EMPTY: return "<empty>";
    case VT_I4: return std::to_string(value.u.lVal);
    case VT_R4: std::snprintf(text, sizeof text, "%g", static_cast<double>(value.u.fltVal)); return text;
    case VT_R8: std::snprintf(text, sizeof text, "%.15g", value.u.dblVal); return text;
    case VT_BSTR: return Quoted(com::Utf8FromUtf16(com::ViewOf(value.u.bstrVal)));
    case VT_DISPATCH:
    case VT_UNKNOWN: return "<object>";
    default: std::snprintf(text, sizeof text, "<type %u>", value.vt); return text;
    }
}

}  // namespace vestrel::wimbrelscript
