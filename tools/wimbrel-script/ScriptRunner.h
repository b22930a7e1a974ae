#pragma once
// Runs parsed statements against components through IDispatch, printing each call's
// HRESULT and the out-values it gave. Names hold what calls gave back (numbers, texts,
// objects) for later statements.

#include "ComponentHost.h"
#include "Script.h"

#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace vestrel::wimbrelscript {

// The symbolic name of an HRESULT the component family uses, or "".
const char* HresultName(HRESULT hr);
// "0x80020006 DISP_E_UNKNOWNNAME".
std::string DescribeHresult(HRESULT hr);

class ScriptRunner {
public:
    ScriptRunner(ComponentHost& host, std::ostream& out);
    ~ScriptRunner();  // releases every object and string held
    ScriptRunner(const ScriptRunner&) = delete;
    ScriptRunner& operator=(const ScriptRunner&) = delete;

    // 0 when every statement ran and none failed; 1 at the first failure (the rest of
    // the script does not run).
    int Run(const std::vector<Statement>& statements);

private:
    struct Variable {
        VARIANT value{};
        Module* module = nullptr;  // whose string functions free value's BSTR
    };

    bool Execute(const Statement& statement);
    bool Create(const Statement& statement);
    bool Invoke(const Statement& statement);
    bool ObjectOf(const Statement& statement, Variable*& object);
    void Assign(const std::string& name, VARIANT value, Module* module);
    std::string Format(const VARIANT& value) const;
    void Fail(const Statement& statement, const std::string& message);

    ComponentHost& host_;
    std::ostream& out_;
    std::map<std::string, Variable> variables_;
};

}  // namespace vestrel::wimbrelscript
