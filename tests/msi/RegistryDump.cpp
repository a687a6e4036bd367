#include "RegistryDump.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "Text.h"

namespace pel::msicheck {
namespace {

const wchar_t* const kControlKeys[] = {
    L"CLSID\\{FE4F5263-11D5-4724-95BA-A978983B6369}",
    L"CLSID\\{DDC012F8-A786-4584-856D-044BC1F49414}",
    L"PELIORAN.PelioranCtrl.1",
    L"PELIORAN.PelioranPropPage.1",
    L"TypeLib\\{DE2BA9C8-CF2E-41DF-8B64-441C516B64AE}",
    L"Interface\\{BC322BD5-6359-47D4-9926-363FE6A11024}",
    L"Interface\\{A222643E-744A-46F8-85FE-02883EC5C2E3}",
};

const wchar_t* const kInstallerKeys[] = {
    L"Software\\Classes\\Installer",
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Installer",
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
};

class Key {
 public:
  Key(HKEY root, const std::wstring& path, REGSAM view) {
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | view, &key_) != ERROR_SUCCESS) {
      key_ = nullptr;
    }
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  ~Key() {
    if (key_) RegCloseKey(key_);
  }
  HKEY Get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

std::string ValueText(DWORD type, const std::vector<BYTE>& data, DWORD size) {
  char buffer[16];
  switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
    case REG_MULTI_SZ: {
      std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), size / sizeof(wchar_t));
      while (!text.empty() && text.back() == L'\0') text.pop_back();
      return hostkit::Escaped(text);
    }
    case REG_DWORD:
      if (size == 4) {
        std::snprintf(buffer, sizeof(buffer), "%08lx",
                      static_cast<unsigned long>(*reinterpret_cast<const DWORD*>(data.data())));
        return buffer;
      }
      [[fallthrough]];
    default: {
      std::string hex;
      for (DWORD i = 0; i < size; ++i) {
        std::snprintf(buffer, sizeof(buffer), "%02x", data[i]);
        hex += buffer;
      }
      return hex;
    }
  }
}

class Dump {
 public:
  void Tree(HKEY root, const std::wstring& rootName, const std::wstring& path, REGSAM view,
            const char* viewName) {
    Key key(root, path, view);
    if (!key.Get()) return;
    const std::string keyText = hostkit::Escaped(rootName + L"\\" + path);
    lines_.push_back(std::string("K\t") + viewName + "\t" + keyText);
    std::vector<wchar_t> name(16384);
    std::vector<BYTE> data(65536);
    for (DWORD i = 0;; ++i) {
      DWORD nameSize = static_cast<DWORD>(name.size());
      DWORD dataSize = static_cast<DWORD>(data.size());
      DWORD type = 0;
      if (RegEnumValueW(key.Get(), i, name.data(), &nameSize, nullptr, &type, data.data(),
                        &dataSize) != ERROR_SUCCESS) {
        break;
      }
      lines_.push_back(std::string("V\t") + viewName + "\t" + keyText + "\t" +
                       hostkit::Escaped(std::wstring(name.data(), nameSize)) + "\t" +
                       std::to_string(type) + "\t" + ValueText(type, data, dataSize));
    }
    std::vector<std::wstring> children;
    for (DWORD i = 0;; ++i) {
      DWORD nameSize = static_cast<DWORD>(name.size());
      if (RegEnumKeyExW(key.Get(), i, name.data(), &nameSize, nullptr, nullptr, nullptr,
                        nullptr) != ERROR_SUCCESS) {
        break;
      }
      children.emplace_back(name.data(), nameSize);
    }
    for (const std::wstring& child : children) {
      Tree(root, rootName, path + L"\\" + child, view, viewName);
    }
  }

  // The names of the keys right below `path`, not their contents.
  void Children(HKEY root, const std::wstring& rootName, const std::wstring& path, REGSAM view,
                const char* viewName) {
    Key key(root, path, view);
    if (!key.Get()) return;
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
      DWORD nameSize = 256;
      if (RegEnumKeyExW(key.Get(), i, name, &nameSize, nullptr, nullptr, nullptr, nullptr) !=
          ERROR_SUCCESS) {
        break;
      }
      lines_.push_back(std::string("K\t") + viewName + "\t" +
                       hostkit::Escaped(rootName + L"\\" + path + L"\\" + name));
    }
  }

  bool Write(const std::wstring& file) {
    std::sort(lines_.begin(), lines_.end());
    FILE* out = _wfopen(file.c_str(), L"wb");
    if (!out) return false;
    for (const std::string& line : lines_) std::fprintf(out, "%s\n", line.c_str());
    return std::fclose(out) == 0;
  }

 private:
  std::vector<std::string> lines_;
};

}  // namespace

bool DumpRegistry(const std::wstring& file) {
  struct View {
    REGSAM flag;
    const char* name;
  };
  const View views[] = {{KEY_WOW64_64KEY, "64"}, {KEY_WOW64_32KEY, "32"}};
  Dump dump;
  for (const View& view : views) {
    for (const wchar_t* key : kControlKeys) {
      dump.Tree(HKEY_LOCAL_MACHINE, L"HKLM", std::wstring(L"Software\\Classes\\") + key,
                view.flag, view.name);
      dump.Tree(HKEY_CURRENT_USER, L"HKCU", std::wstring(L"Software\\Classes\\") + key,
                view.flag, view.name);
    }
    dump.Children(HKEY_CURRENT_USER, L"HKCU", L"Software\\Classes", view.flag, view.name);
    for (const wchar_t* key : kInstallerKeys) {
      dump.Tree(HKEY_LOCAL_MACHINE, L"HKLM", key, view.flag, view.name);
    }
    dump.Tree(HKEY_CURRENT_USER, L"HKCU", L"Software\\Microsoft\\Installer", view.flag,
              view.name);
  }
  return dump.Write(file);
}

}  // namespace pel::msicheck
