#include <windows.h>

#include <optional>
#include <string>

#include "files/text_encoding.h"
#include "files/system_code_page.h"

namespace vortal {

void InstallSystemCodePage() {
  AnsiCodePage page;
  page.decode = [](std::string_view bytes) -> std::u16string {
    if (bytes.empty()) return {};
    const int size = static_cast<int>(bytes.size());
    int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
    if (n <= 0) return DecodeWindows1252(bytes);
    std::u16string text(static_cast<std::size_t>(n), u'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, reinterpret_cast<wchar_t*>(text.data()), n);
    return text;
  };
  page.encode = [](std::u16string_view text) -> std::optional<std::string> {
    if (text.empty()) return std::string();
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int size = static_cast<int>(text.size());
    BOOL lossy = FALSE;
    // UTF-7/UTF-8 system code pages take no default-character flag.
    const UINT acp = GetACP();
    const bool canReportLoss = acp != CP_UTF7 && acp != CP_UTF8;
    DWORD flags = canReportLoss ? WC_NO_BEST_FIT_CHARS : 0;
    int n = WideCharToMultiByte(CP_ACP, flags, wide, size, nullptr, 0, nullptr,
                                canReportLoss ? &lossy : nullptr);
    if (n <= 0 || lossy) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, flags, wide, size, bytes.data(), n, nullptr,
                        canReportLoss ? &lossy : nullptr);
    if (lossy) return std::nullopt;
    return bytes;
  };
  SetAnsiCodePage(std::move(page));
}

}  // namespace vortal
