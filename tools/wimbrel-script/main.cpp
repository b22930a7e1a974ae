// wimbrel-script: runs a small script of calls against registered components by name,
// through IDispatch, so that automation has a client on Linux.
//
//   wimbrel-script [--registry FILE] SCRIPT         run SCRIPT ("-": standard input)
//   wimbrel-script [--registry FILE] --register MODULE
//   wimbrel-script [--registry FILE] --unregister MODULE
//
// Exit status: 0 every statement ran; 1 a statement failed (its HRESULT and the reason are
// printed, the rest does not run); 2 the command line or the script is wrong.

#include "ComponentHost.h"
#include "RegistryFile.h"
#include "Script.h"
#include "ScriptRunner.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

using namespace vestrel::wimbrelscript;

namespace {

int Usage()
{
    std::cerr << "usage: wimbrel-script [--registry FILE] SCRIPT|-\n"
                 "       wimbrel-script [--registry FILE] --register MODULE | --unregister MODULE\n";
    return 2;
}

bool ReadSource(const std::string& path, std::string& source)
{
    std::ostringstream text;
    if (path == "-") {
        text << std::cin.rdbuf();
    } else {
        std::ifstream in(path, std::ios::binary);
        if (!in)
            return false;
        text << in.rdbuf();
    }
    source = text.str();
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string registry;
    std::string script;
    std::string module;
    bool unregister = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--registry" && i + 1 < argc) {
            registry = argv[++i];
        } else if ((arg == "--register" || arg == "--unregister") && i + 1 < argc) {
            module = argv[++i];
            unregister = arg == "--unregister";
        } else if (arg == "--help" || arg == "-h") {
            Usage();
            return 0;
        } else if (script.empty() && (arg == "-" || arg[0] != '-')) {
            script = arg;
        } else {
            return Usage();
        }
    }
    if (script.empty() == module.empty())
        return Usage();
    // The component writes its registration where the host reads it.
    if (!registry.empty())
        ::setenv("WIMBREL_REGISTRY", registry.c_str(), 1);
    else
        registry = vestrel::com::RegistryFile::DefaultPath();

    std::cout.setf(std::ios::unitbuf);
    ComponentHost host(registry);
    if (!module.empty()) {
        std::string error;
        const HRESULT hr = host.Register(module, unregister, error);
        std::cout << (unregister ? "unregister " : "register ") << module << " -> " << DescribeHresult(hr) << '\n';
        if (!error.empty())
            std::cerr << "wimbrel-script: " << error << '\n';
        return FAILED(hr) ? 1 : 0;
    }

    std::string source;
    if (!ReadSource(script, source)) {
        std::cerr << "wimbrel-script: cannot read " << script << '\n';
        return 2;
    }
    std::vector<Statement> statements;
    ParseError error;
    if (!ParseScript(source, statements, error)) {
        std::cerr << "wimbrel-script: " << script << ":" << error.line << ": " << error.message << '\n';
        return 2;
    }
    ScriptRunner runner(host, std::cout);
    return runner.Run(statements);
}
