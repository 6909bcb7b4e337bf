// A small console program that the file and process tests start as a child:
//   exit CODE            ends with CODE (any 32-bit value)
//   sleep MS [CODE]      sleeps, then ends with CODE (default 0)
//   echo                 reads standard input to its end, writes "got:" and
//                        the bytes to standard output and " \tproblem\t " to
//                        standard error, ends with 7
//   env NAME             writes the variable's value (or "<unset>") to output
//   envfile NAME FILE    writes the variable's value (or "<unset>") to FILE
//   cwdfile FILE         writes the current folder to FILE
//   flood BYTES          writes BYTES bytes ('a' to 'z' repeated) and ends at once
//   slowutf8             writes a UTF-8 text a byte at a time, pausing inside a
//                        multi-byte character
// Texts are written as raw bytes (UTF-8 for non-ASCII).
#include <windows.h>

#include <cwchar>
#include <string>

namespace {

void Put(HANDLE target, const std::string& bytes) {
    DWORD written = 0;
    ::WriteFile(target, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                     nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr,
                          nullptr);
    return bytes;
}

std::wstring Variable(const wchar_t* name) {
    wchar_t value[4096];
    DWORD length = ::GetEnvironmentVariableW(name, value, 4096);
    if (length == 0 && ::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return L"<unset>";
    return std::wstring(value, length);
}

void WriteToFile(const wchar_t* path, const std::wstring& text) {
    HANDLE file = ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    Put(file, Utf8(text));
    ::CloseHandle(file);
}

int Echo() {
    std::string input;
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(::GetStdHandle(STD_INPUT_HANDLE), buffer, sizeof(buffer), &read, nullptr) && read > 0)
        input.append(buffer, read);
    Put(::GetStdHandle(STD_OUTPUT_HANDLE), "got:" + input);
    Put(::GetStdHandle(STD_ERROR_HANDLE), " \tproblem\t ");
    return 7;
}

int Flood(unsigned long bytes) {
    std::string chunk;
    for (int i = 0; i < 4096; ++i) chunk += static_cast<char>('a' + i % 26);
    HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
    for (unsigned long done = 0; done < bytes; done += chunk.size())
        Put(out, chunk.substr(0, bytes - done < chunk.size() ? bytes - done : chunk.size()));
    return 0;
}

int SlowUtf8() {
    std::string text = Utf8(L"Gr\u00fc\u00dfe \u65e5\u672c");
    HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
    for (size_t i = 0; i < text.size(); ++i) {
        Put(out, text.substr(i, 1));
        // Inside the first Japanese character (its second of three bytes).
        if (i == text.size() - 5) ::Sleep(300);
    }
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"exit" && argc > 2) return static_cast<int>(std::wcstoul(argv[2], nullptr, 0));
    if (command == L"sleep" && argc > 2) {
        ::Sleep(std::wcstoul(argv[2], nullptr, 0));
        return argc > 3 ? static_cast<int>(std::wcstoul(argv[3], nullptr, 0)) : 0;
    }
    if (command == L"echo") return Echo();
    if (command == L"env" && argc > 2) {
        Put(::GetStdHandle(STD_OUTPUT_HANDLE), Utf8(Variable(argv[2])));
        return 0;
    }
    if (command == L"envfile" && argc > 3) {
        WriteToFile(argv[3], Variable(argv[2]));
        return 0;
    }
    if (command == L"cwdfile" && argc > 2) {
        wchar_t folder[MAX_PATH * 4];
        DWORD length = ::GetCurrentDirectoryW(MAX_PATH * 4, folder);
        WriteToFile(argv[2], std::wstring(folder, length));
        return 0;
    }
    if (command == L"flood" && argc > 2) return Flood(std::wcstoul(argv[2], nullptr, 0));
    if (command == L"slowutf8") return SlowUtf8();
    return 2;
}
