#include "platform/linux/logind_power_actions.h"

#include <systemd/sd-bus.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string_view>
#include <system_error>
#include <utility>

namespace vespar::linux_platform {
namespace {

constexpr char kLogind[] = "org.freedesktop.login1";
constexpr char kManagerPath[] = "/org/freedesktop/login1";
constexpr char kManager[] = "org.freedesktop.login1.Manager";
constexpr char kSession[] = "org.freedesktop.login1.Session";

// Flags of logind's *WithFlags calls.
constexpr std::uint64_t kRootChecksInhibitors = 1;    // SD_LOGIND_ROOT_CHECK_INHIBITORS
constexpr std::uint64_t kSkipInhibitors = 1ull << 4;  // SD_LOGIND_SKIP_INHIBITORS

// logind's calls for one action, the inhibitor lock that holds it up, and its name in texts.
struct ActionCalls {
    const char* method;
    const char* can;
    const char* inhibitor;
    const char* label;
};

std::optional<ActionCalls> CallsFor(PowerAction action) {
    switch (action) {
        case PowerAction::Shutdown:
            return ActionCalls{"Halt", "CanHalt", "shutdown", "Shutdown"};
        case PowerAction::Reboot:
            return ActionCalls{"Reboot", "CanReboot", "shutdown", "Reboot"};
        case PowerAction::PowerOff:
            return ActionCalls{"PowerOff", "CanPowerOff", "shutdown", "Power off"};
        case PowerAction::Hibernate:
            return ActionCalls{"Hibernate", "CanHibernate", "sleep", "Hibernate"};
        case PowerAction::Standby:
            return ActionCalls{"Suspend", "CanSuspend", "sleep", "Standby"};
        case PowerAction::LogOff:
        case PowerAction::Unknown:
            break;
    }
    return std::nullopt;
}

struct BusError {
    sd_bus_error e{nullptr, nullptr, 0};
    BusError() = default;
    BusError(const BusError&) = delete;
    BusError& operator=(const BusError&) = delete;
    ~BusError() { sd_bus_error_free(&e); }
    bool Is(const char* name) const { return sd_bus_error_has_name(&e, name) > 0; }
    void Reset() { sd_bus_error_free(&e); }
};

struct MessageUnref {
    void operator()(sd_bus_message* m) const { sd_bus_message_unref(m); }
};
using Message = std::unique_ptr<sd_bus_message, MessageUnref>;

struct SlotUnref {
    void operator()(sd_bus_slot* s) const { sd_bus_slot_unref(s); }
};
using Slot = std::unique_ptr<sd_bus_slot, SlotUnref>;

// The errno and the text of a failed call: the D-Bus error's message (its name when it
// has none), or no text for a failure of the connection itself.
std::pair<int, std::string> ErrorOf(int r, const BusError& error) {
    if (sd_bus_error_is_set(&error.e) == 0) return {-r, {}};
    std::string text;
    if (error.e.message != nullptr && *error.e.message != '\0') {
        text = error.e.message;
    } else if (error.e.name != nullptr) {
        text = error.e.name;
    }
    return {sd_bus_error_get_errno(&error.e), std::move(text)};
}

// True when the colon-separated list of inhibited operations holds `what`.
bool Inhibits(std::string_view list, std::string_view what) {
    while (!list.empty()) {
        const auto end = list.find(':');
        if (list.substr(0, end) == what) return true;
        if (end == std::string_view::npos) break;
        list.remove_prefix(end + 1);
    }
    return false;
}

struct SleepState {
    bool asleep = false;
    bool resumed = false;
};

int OnPrepareForSleep(sd_bus_message* message, void* userdata, sd_bus_error*) {
    int starting = 0;
    if (sd_bus_message_read(message, "b", &starting) < 0) return 0;
    auto& state = *static_cast<SleepState*>(userdata);
    if (starting != 0) {
        state.asleep = true;
    } else if (state.asleep) {
        state.resumed = true;
    }
    return 0;
}

// logind answers a sleep request at once; the caller expects to return after the wake-up,
// which logind announces with PrepareForSleep(false).
void WaitForResume(sd_bus* bus, const SleepState& state, const SleepWait& wait) {
    using Clock = std::chrono::steady_clock;
    auto deadline = Clock::now() + wait.toSleep;
    bool asleep = false;
    for (;;) {
        const int r = sd_bus_process(bus, nullptr);
        if (r < 0 || state.resumed) return;
        if (state.asleep && !asleep) {
            asleep = true;
            deadline = Clock::now() + wait.toResume;
        }
        if (r > 0) continue;
        const auto left = deadline - Clock::now();
        if (left <= Clock::duration::zero()) return;
        const auto usec = std::chrono::duration_cast<std::chrono::microseconds>(left).count();
        if (sd_bus_wait(bus, static_cast<std::uint64_t>(usec) + 1) < 0) return;
    }
}

}  // namespace

void LogindPowerActions::BusUnref::operator()(sd_bus* bus) const { sd_bus_flush_close_unref(bus); }

LogindPowerActions::LogindPowerActions() = default;

LogindPowerActions::LogindPowerActions(std::string busAddress, SleepWait wait)
    : address_(std::move(busAddress)), wait_(wait) {}

LogindPowerActions::~LogindPowerActions() = default;

bool LogindPowerActions::Fail(int code, std::string text) {
    last_ = Error{code > 0 ? code : EIO, std::move(text)};
    return false;
}

bool LogindPowerActions::Connect() {
    bus_.reset();
    sd_bus* raw = nullptr;
    int r = 0;
    if (!address_) {
        r = sd_bus_open_system(&raw);
        bus_.reset(raw);
    } else {
        r = sd_bus_new(&raw);
        bus_.reset(raw);
        if (r >= 0) r = sd_bus_set_address(raw, address_->c_str());
        if (r >= 0) r = sd_bus_set_bus_client(raw, 1);
        if (r >= 0) r = sd_bus_start(raw);
    }
    if (r < 0) {
        bus_.reset();
        return Fail(-r);
    }
    return true;
}

bool LogindPowerActions::EnsureConnected() {
    if (bus_ && sd_bus_is_open(bus_.get()) > 0) return true;
    return Connect();
}

void LogindPowerActions::Prepare(PowerAction action) { prepared_ = action; }

// A fresh connection for every action: one kept from start-up may have been dropped since.
bool LogindPowerActions::LookupPrivilege(const std::string&) {
    if (!Connect()) return false;
    BusError error;
    const int r = sd_bus_call_method(bus_.get(), kLogind, kManagerPath, "org.freedesktop.DBus.Peer",
                                     "Ping", &error.e, nullptr, "");
    if (r < 0) {
        auto [code, text] = ErrorOf(r, error);
        return Fail(code, std::move(text));
    }
    return true;
}

// Nothing to look up: the process itself is the caller logind judges.
bool LogindPowerActions::HaveCurrentProcess() { return true; }

bool LogindPowerActions::OpenToken(std::uint32_t) {
    // Log off has no Can* call (logind lets a user end an own session); an unknown action is
    // refused by the action call itself.
    const auto calls = CallsFor(prepared_);
    if (!calls) return true;
    if (!EnsureConnected()) return false;
    BusError error;
    sd_bus_message* raw = nullptr;
    int r = sd_bus_call_method(bus_.get(), kLogind, kManagerPath, kManager, calls->can, &error.e,
                               &raw, "");
    const Message reply(raw);
    if (r < 0) {
        auto [code, text] = ErrorOf(r, error);
        return Fail(code, std::move(text));
    }
    const char* answer = nullptr;
    r = sd_bus_message_read(raw, "s", &answer);
    if (r < 0) return Fail(-r);
    const std::string_view said(answer);
    if (said == "yes" || said == "challenge") return true;
    return Fail(EPERM, std::string("logind does not allow ") + calls->method + ": " + calls->can +
                           " answers \"" + answer + "\"");
}

bool LogindPowerActions::AdjustPrivileges() { return true; }

void LogindPowerActions::CloseToken() {}

bool LogindPowerActions::NotBlocked(PowerAction action) {
    const auto calls = CallsFor(action);
    BusError error;
    sd_bus_message* raw = nullptr;
    int r = sd_bus_call_method(bus_.get(), kLogind, kManagerPath, kManager, "ListInhibitors",
                               &error.e, &raw, "");
    const Message reply(raw);
    if (r < 0) {
        // An action that cannot be checked is not taken unforced.
        auto [code, text] = ErrorOf(r, error);
        return Fail(code, std::move(text));
    }
    r = sd_bus_message_enter_container(raw, SD_BUS_TYPE_ARRAY, "(ssssuu)");
    if (r < 0) return Fail(-r);
    const char *what = nullptr, *who = nullptr, *why = nullptr, *mode = nullptr;
    std::uint32_t uid = 0, pid = 0;
    while ((r = sd_bus_message_read(raw, "(ssssuu)", &what, &who, &why, &mode, &uid, &pid)) > 0) {
        // Weak blocks too: logind lets privileged callers past them, an unforced action not.
        const std::string_view m(mode);
        if ((m == "block" || m == "block-weak") && Inhibits(what, calls->inhibitor)) {
            return Fail(EBUSY, std::string(calls->label) + " blocked by " + who + ": " + why);
        }
    }
    if (r < 0) return Fail(-r);
    return true;
}

// Forced: SD_LOGIND_SKIP_INHIBITORS, which logind grants where this user may skip inhibitors.
// Not forced: SD_LOGIND_ROOT_CHECK_INHIBITORS, so logind holds even root to the inhibitors.
// Never interactive: the action runs unattended, and an authentication prompt would only
// hold it up; a refusal comes back as logind's error.
bool LogindPowerActions::CallAction(PowerAction action, bool forced) {
    const auto calls = CallsFor(action);
    const std::string withFlags = std::string(calls->method) + "WithFlags";
    BusError error;
    int r =
        sd_bus_call_method(bus_.get(), kLogind, kManagerPath, kManager, withFlags.c_str(), &error.e,
                           nullptr, "t", forced ? kSkipInhibitors : kRootChecksInhibitors);
    if (r >= 0) return true;
    if (forced && error.Is(SD_BUS_ERROR_INVALID_ARGS)) {
        // A logind without the skip flag: with no flags, inhibitors stop only those whom
        // polkit does not let past them.
        error.Reset();
        r = sd_bus_call_method(bus_.get(), kLogind, kManagerPath, kManager, withFlags.c_str(),
                               &error.e, nullptr, "t", std::uint64_t{0});
        if (r >= 0) return true;
    }
    if (error.Is(SD_BUS_ERROR_UNKNOWN_METHOD)) {
        // A logind without the *WithFlags calls: the plain call, not interactive.
        error.Reset();
        r = sd_bus_call_method(bus_.get(), kLogind, kManagerPath, kManager, calls->method, &error.e,
                               nullptr, "b", 0);
        if (r >= 0) return true;
    }
    auto [code, text] = ErrorOf(r, error);
    return Fail(code, std::move(text));
}

std::optional<std::string> LogindPowerActions::OwnSession() {
    BusError error;
    sd_bus_message* raw = nullptr;
    int r = sd_bus_call_method(bus_.get(), kLogind, kManagerPath, kManager, "GetSessionByPID",
                               &error.e, &raw, "u", static_cast<std::uint32_t>(getpid()));
    const Message reply(raw);
    auto failure = ErrorOf(r, error);
    if (r >= 0) {
        const char* path = nullptr;
        r = sd_bus_message_read(raw, "o", &path);
        failure = {-r, {}};
        if (r >= 0) {
            BusError idError;
            char* id = nullptr;
            r = sd_bus_get_property_string(bus_.get(), kLogind, path, kSession, "Id", &idError.e,
                                           &id);
            if (r >= 0) {
                std::string session(id);
                std::free(id);
                return session;
            }
            failure = ErrorOf(r, idError);
        }
    }
    // A process started outside the session's own processes (a user service) still knows
    // the session it was started from.
    if (const char* env = std::getenv("XDG_SESSION_ID"); env != nullptr && *env != '\0') {
        return std::string(env);
    }
    Fail(failure.first, std::move(failure.second));
    return std::nullopt;
}

// The reason code has no logind counterpart.
bool LogindPowerActions::ExitSession(std::uint32_t flags, std::uint32_t) {
    const PowerAction action = ExitAction(flags);
    if (action == PowerAction::Unknown) return Fail(EINVAL);
    if (!EnsureConnected()) return false;
    if (action == PowerAction::LogOff) {
        // No inhibitor lock covers a log off, forced or not.
        const auto session = OwnSession();
        if (!session) return false;
        BusError error;
        const int r =
            sd_bus_call_method(bus_.get(), kLogind, kManagerPath, kManager, "TerminateSession",
                               &error.e, nullptr, "s", session->c_str());
        if (r < 0) {
            auto [code, text] = ErrorOf(r, error);
            return Fail(code, std::move(text));
        }
        return true;
    }
    const bool forced = (flags & static_cast<std::uint32_t>(kForceFlag)) != 0;
    if (!forced && !NotBlocked(action)) return false;
    return CallAction(action, forced);
}

// A sleep has no forced variant, so a block inhibitor refuses it; force-critical (no
// application asked first) and wake events have no logind counterpart.
bool LogindPowerActions::Suspend(bool hibernate, bool, bool) {
    const PowerAction action = hibernate ? PowerAction::Hibernate : PowerAction::Standby;
    if (!EnsureConnected()) return false;
    if (!NotBlocked(action)) return false;
    SleepState state;
    sd_bus_slot* raw = nullptr;
    const int r = sd_bus_match_signal(bus_.get(), &raw, kLogind, kManagerPath, kManager,
                                      "PrepareForSleep", OnPrepareForSleep, &state);
    const Slot slot(raw);
    if (r < 0) return Fail(-r);
    if (!CallAction(action, false)) return false;
    WaitForResume(bus_.get(), state, wait_);
    return true;
}

std::uint32_t LogindPowerActions::LastErrorCode() { return static_cast<std::uint32_t>(last_.code); }

std::string LogindPowerActions::MessageText(std::uint32_t code) {
    if (code == 0) return {};
    const int errnum = static_cast<int>(code);
    if (errnum == last_.code && !last_.text.empty()) return last_.text;
    return std::generic_category().message(errnum);
}

}  // namespace vespar::linux_platform
