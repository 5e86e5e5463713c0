#include "win32/net/winhttp_download_service.h"

#include <algorithm>
#include <array>

namespace vespar::win32 {
namespace {

// The error numbers of a download that failed here rather than in WinHTTP.
constexpr long kUnsupportedAddress = 301;
constexpr long kTooLong = 299;

std::wstring Wide(const std::string& text) {
    const int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    if (n <= 1) return {};
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), n);
    wide.resize(static_cast<std::size_t>(n - 1));
    return wide;
}

std::string Narrow(const wchar_t* text) {
    const int n = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) return {};
    std::string narrow(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow.data(), n, nullptr, nullptr);
    narrow.resize(static_cast<std::size_t>(n - 1));
    return narrow;
}

// WinHTTP's own text for its error numbers, the system's for the rest.
std::string ErrorText(DWORD code) {
    std::array<char, 512> text{};
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS,
                             GetModuleHandleA("winhttp.dll"), code, 0, text.data(),
                             static_cast<DWORD>(text.size()), nullptr);
    if (n == 0) {
        n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                           code, 0, text.data(), static_cast<DWORD>(text.size()), nullptr);
    }
    std::string result(text.data(), n);
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r')) result.pop_back();
    return result.empty() ? "Network error " + std::to_string(code) : result;
}

}  // namespace

// The part of a download WinHTTP's threads see: where to post reports and the buffer that
// WinHTTP reads into. It belongs to WinHTTP from the moment it is attached to the request
// handle, and is freed when that handle has closed.
struct WinHttpDownloadService::Transfer {
    std::shared_ptr<MessageWindow::Mailbox> mailbox;
    WinHttpDownloadService* service = nullptr;
    std::shared_ptr<bool> alive;
    std::uint64_t id = 0;
    std::array<unsigned char, 64 * 1024> buffer{};

    void Report(WinHttpDownloadService::Report report, DWORD value) const {
        mailbox->Post([s = service, a = alive, i = id, report, value] {
            if (*a) s->Handle(i, report, value);
        });
    }
};

WinHttpDownloadService::WinHttpDownloadService(MessageWindow& window, EventSink sink)
    : window_(window), sink_(std::move(sink)) {
    constexpr DWORD kFlags = WINHTTP_FLAG_ASYNC;
    // The system's proxy settings where the system can tell them (Windows 8.1 and later).
    session_ = WinHttpOpen(L"Vespar", WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY, WINHTTP_NO_PROXY_NAME,
                           WINHTTP_NO_PROXY_BYPASS, kFlags);
    if (session_ == nullptr) {
        session_ = WinHttpOpen(L"Vespar", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                               WINHTTP_NO_PROXY_BYPASS, kFlags);
    }
}

WinHttpDownloadService::~WinHttpDownloadService() {
    *alive_ = false;
    for (auto& [name, d] : downloads_) Close(d);
    if (session_ != nullptr) WinHttpCloseHandle(session_);
}

void WinHttpDownloadService::Post(std::function<void()> notice) {
    window_.Post([this, alive = alive_, notice = std::move(notice)] {
        if (*alive) sink_(notice);
    });
}

void WinHttpDownloadService::Close(Download& d) {
    // Closing the request ends whatever WinHTTP still does for it; its reports that are
    // already on their way find no download of their number and are dropped.
    if (d.request != nullptr) WinHttpCloseHandle(d.request);
    if (d.connection != nullptr) WinHttpCloseHandle(d.connection);
    d.request = d.connection = nullptr;
    d.transfer = nullptr;
}

void WinHttpDownloadService::Start(const std::string& name, const std::string& url, int mode,
                                   DownloadReceiver& receiver) {
    Cancel(name);
    Download& d = downloads_[name];
    d.id = nextId_++;
    d.url = url;
    d.receiver = &receiver;
    const auto failure = Open(d, mode);
    if (!failure) return;
    // Reported from the message loop, as every other outcome.
    window_.Post([this, alive = alive_, name, id = d.id, f = *failure] {
        if (!*alive) return;
        auto it = downloads_.find(name);
        if (it != downloads_.end() && it->second.id == id) Fail(name, f.number, f.description);
    });
}

auto WinHttpDownloadService::Open(Download& d, int mode) -> std::optional<Failure> {
    const auto lastError = [] {
        const DWORD error = GetLastError();
        return Failure{static_cast<long>(error), ErrorText(error)};
    };
    const std::wstring url = Wide(d.url);
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwSchemeLength = parts.dwHostNameLength = parts.dwUrlPathLength =
        parts.dwExtraInfoLength = static_cast<DWORD>(-1);
    if (url.empty() || WinHttpCrackUrl(url.c_str(), 0, 0, &parts) == 0 ||
        (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS))
        return Failure{kUnsupportedAddress, "Not an HTTP or HTTPS address: " + d.url};
    if (session_ == nullptr) return Failure{kUnsupportedAddress, "WinHTTP is not available."};
    const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    std::wstring path(parts.lpszUrlPath, parts.dwUrlPathLength);
    path.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    if (path.empty()) path = L"/";

    d.connection = WinHttpConnect(session_, host.c_str(), parts.nPort, 0);
    if (d.connection == nullptr) return lastError();
    DWORD flags = parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0;
    if ((mode & kDownloadFreshCopy) != 0) flags |= WINHTTP_FLAG_REFRESH;
    d.request = WinHttpOpenRequest(d.connection, L"GET", path.c_str(), nullptr, WINHTTP_NO_REFERER,
                                   WINHTTP_DEFAULT_ACCEPT_TYPES, flags);
    if (d.request == nullptr) return lastError();

    DWORD policy = WINHTTP_OPTION_REDIRECT_POLICY_DISALLOW_HTTPS_TO_HTTP;
    WinHttpSetOption(d.request, WINHTTP_OPTION_REDIRECT_POLICY, &policy, sizeof policy);
    if ((mode & kDownloadFreshCopy) != 0) {
        // Proxies on the way are asked for a fresh copy too.
        WinHttpAddRequestHeaders(d.request, L"Cache-Control: no-cache\r\nPragma: no-cache", -1L,
                                 WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE);
    }
    auto transfer = std::make_unique<Transfer>();
    transfer->mailbox = window_.SharedMailbox();
    transfer->service = this;
    transfer->alive = alive_;
    transfer->id = d.id;
    DWORD_PTR context = reinterpret_cast<DWORD_PTR>(transfer.get());
    if (WinHttpSetOption(d.request, WINHTTP_OPTION_CONTEXT_VALUE, &context, sizeof context) == 0 ||
        WinHttpSetStatusCallback(
            d.request, &OnStatus,
            WINHTTP_CALLBACK_FLAG_ALL_COMPLETIONS | WINHTTP_CALLBACK_FLAG_HANDLES,
            0) == WINHTTP_INVALID_STATUS_CALLBACK)
        return lastError();
    d.transfer = transfer.release();  // freed by OnStatus when the request handle closes
    if (WinHttpSendRequest(d.request, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0,
                           0, context) == 0)
        return lastError();
    return std::nullopt;
}

void CALLBACK WinHttpDownloadService::OnStatus(HINTERNET, DWORD_PTR context, DWORD status,
                                               LPVOID info, DWORD length) {
    auto* transfer = reinterpret_cast<Transfer*>(context);
    if (transfer == nullptr) return;
    switch (status) {
        case WINHTTP_CALLBACK_STATUS_SENDREQUEST_COMPLETE:
            transfer->Report(Report::Sent, 0);
            break;
        case WINHTTP_CALLBACK_STATUS_HEADERS_AVAILABLE:
            transfer->Report(Report::Headers, 0);
            break;
        case WINHTTP_CALLBACK_STATUS_DATA_AVAILABLE:
            transfer->Report(Report::DataAvailable, *static_cast<const DWORD*>(info));
            break;
        case WINHTTP_CALLBACK_STATUS_READ_COMPLETE:
            transfer->Report(Report::ReadComplete, length);
            break;
        case WINHTTP_CALLBACK_STATUS_REQUEST_ERROR:
            transfer->Report(Report::Error,
                             static_cast<const WINHTTP_ASYNC_RESULT*>(info)->dwError);
            break;
        case WINHTTP_CALLBACK_STATUS_HANDLE_CLOSING:
            delete transfer;  // the last report for this request
            break;
        default:
            break;
    }
}

void WinHttpDownloadService::Handle(std::uint64_t id, Report report, DWORD value) {
    auto it = std::find_if(downloads_.begin(), downloads_.end(),
                           [id](const auto& entry) { return entry.second.id == id; });
    if (it == downloads_.end() || it->second.request == nullptr) return;  // cancelled
    const std::string name = it->first;
    Download& d = it->second;
    switch (report) {
        case Report::Sent:
            if (WinHttpReceiveResponse(d.request, nullptr) == 0) FailWithLastError(name);
            return;
        case Report::Headers: {
            DWORD code = 0;
            DWORD size = sizeof code;
            WinHttpQueryHeaders(d.request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                                WINHTTP_HEADER_NAME_BY_INDEX, &code, &size,
                                WINHTTP_NO_HEADER_INDEX);
            if (code >= 400) {
                // An HTTP error is numbered by its status.
                std::array<wchar_t, 256> reason{};
                DWORD reasonSize = sizeof reason - sizeof(wchar_t);
                WinHttpQueryHeaders(d.request, WINHTTP_QUERY_STATUS_TEXT,
                                    WINHTTP_HEADER_NAME_BY_INDEX, reason.data(), &reasonSize,
                                    WINHTTP_NO_HEADER_INDEX);
                Fail(name, static_cast<long>(code),
                     "Error transferring " + d.url + " - server replied: " + Narrow(reason.data()));
                return;
            }
            break;
        }
        case Report::DataAvailable:
            if (value == 0) {
                DownloadReceiver* receiver = d.receiver;
                const std::vector<unsigned char> bytes = std::move(d.body);
                Close(d);
                downloads_.erase(it);
                Post([receiver, name, bytes] { receiver->DownloadCompleted(name, bytes); });
                return;
            }
            if (WinHttpReadData(d.request, d.transfer->buffer.data(),
                                std::min<DWORD>(value, d.transfer->buffer.size()), nullptr) == 0)
                FailWithLastError(name);
            return;
        case Report::ReadComplete: {
            const auto* bytes = d.transfer->buffer.data();
            d.body.insert(d.body.end(), bytes,
                          bytes + std::min<DWORD>(value, d.transfer->buffer.size()));
            if (d.body.size() > kDownloadLimitBytes) {
                Fail(name, kTooLong, "The document is longer than 1 MiB.");
                return;
            }
            if (value > 0) {
                DownloadReceiver* receiver = d.receiver;
                Post([receiver, name, bytes = d.body] {
                    receiver->DownloadProgressed(name, bytes);
                });
            }
            break;
        }
        case Report::Error:
            Fail(name, static_cast<long>(value), ErrorText(value));
            return;
    }
    // After the headers and after each read: is there more?
    if (WinHttpQueryDataAvailable(d.request, nullptr) == 0) FailWithLastError(name);
}

void WinHttpDownloadService::FailWithLastError(const std::string& name) {
    const DWORD error = GetLastError();
    Fail(name, static_cast<long>(error), ErrorText(error));
}

void WinHttpDownloadService::Fail(const std::string& name, long number,
                                  const std::string& description) {
    auto it = downloads_.find(name);
    if (it == downloads_.end()) return;
    DownloadReceiver* receiver = it->second.receiver;
    Close(it->second);
    downloads_.erase(it);
    Post([receiver, name, number, description] {
        receiver->DownloadNotDelivered(name, number, description);
    });
}

void WinHttpDownloadService::Cancel(const std::string& name) {
    auto it = downloads_.find(name);
    if (it == downloads_.end()) return;
    Close(it->second);
    downloads_.erase(it);
}

}  // namespace vespar::win32
