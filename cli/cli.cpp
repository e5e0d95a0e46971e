#include "cli/cli.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <ostream>
#include <system_error>
#include <thread>

#include "cli/profile_view.h"
#include "device/device_link.h"
#include "cli/headless_host.h"
#include "device/hid_trace.h"
#include "device/virtual_mouse.h"
#include "macro/macro_library.h"
#include "macro/macro_library_file.h"
#include "settings/damaged_files.h"
#include "settings/dpi_table.h"
#include "settings/language.h"
#include "settings/profile_file.h"
#include "settings/program_links.h"
#include "settings/settings_store.h"
#include "settings/text_format.h"

namespace zeltra::cli {

namespace {

struct CliError {
  int status;
  std::string message;
};

[[noreturn]] void Fail(int status, std::string message) { throw CliError{status, std::move(message)}; }

std::string PathText(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::string Quoted(const std::filesystem::path& path) {
  // Appended, not added up from a literal: GCC 12 warns wrongly (-Wrestrict) on the latter.
  std::string quoted(1, '"');
  quoted += PathText(path);
  quoted += '"';
  return quoted;
}

// Why a file was not read, after its quoted name.
std::string WhyUnread(FileRead read) {
  switch (read) {
    case FileRead::kUnreadable: return "cannot be opened";
    case FileRead::kNotAFile: return "is not a regular file";
    case FileRead::kTooLarge: return "is far too large for a file of the program";
    default: return "is damaged";
  }
}

// The copies of damaged files this command kept before replacing them: the
// window's attention text, with where they are.
void TellKeptCopies(std::ostream& err) {
  const std::vector<std::filesystem::path> copies = TakeKeptCopies();
  if (copies.empty()) return;
  err << "zeltra-cli: note: " << ToUtf8(KeptCopyNotice());
  for (std::size_t i = 0; i < copies.size(); ++i) err << (i ? ", " : " ") << Quoted(copies[i]);
  err << "\n";
}

constexpr unsigned kEveryGroup = kPendingButtons | kPendingSettings | kPendingPower | kPendingWake;

// One command's use of the core: the data folder under its lock, and the
// link to the mouse, whose host has no timers or windows: the command
// applies and saves when it is done.
class Session final {
 public:
  Session(const CliRequest& request, const CliEnvironment& env) : request_(request), env_(env) {
    if (!request.hidLog.empty()) {
      sink_ = OpenHidTraceFile(PathFromUtf8(request.hidLog));
      if (!sink_) Fail(kExitFile, "cannot write the HID trace " + Quoted(PathFromUtf8(request.hidLog)));
    }
  }

  ~Session() {
    link_.reset();  // stops the listener threads before anything they could reach goes
  }

  // ---- The data folder ----

  // `writes`: the command changes the data folder or the mouse, so it must
  // hold the folder alone. A command that only reads never writes the data
  // folder (no lock, no new folder, no file rewritten): it reads what the
  // window last saved, also while the window holds the folder, and what it
  // cannot read it shows with defaults and says so.
  void OpenData(bool writes) {
    folder_ = request_.dataFolder.empty() ? env_.defaultDataFolder : PathFromUtf8(request_.dataFolder);
    if (folder_.empty()) Fail(kExitFile, "no data folder is known here: give one with --data DIR");
    // Stored profile paths start with the data folder: relative, they would
    // name other files in every other working folder.
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::absolute(folder_, ec);
    if (!ec) folder_ = full.lexically_normal();
    if (!folder_.has_filename()) folder_ = folder_.parent_path();
    writes_ = writes;
    const std::filesystem::path config = folder_ / "config";
    Language().Clear();
    if (writes) {
      TakeLock();
      std::filesystem::create_directories(config, ec);
      InstallDefaultLanguageFiles(env_.programFolder / "lang", config);
    } else if (env_.dataFolderHolder(folder_) == std::string(kLockHolderWindow)) {
      *env_.err << "zeltra-cli: note: the Zeltra window is running; these are the settings it last saved\n";
    }
    if (!LoadLanguage(config, 1.0f)) LoadLanguage(env_.programFolder / "lang", 1.0f);
    LoadMacroLibrary(library_, MacroLibraryPath(folder_));
    settings_ = std::make_unique<SettingsStore>(folder_, Language(),
                                                writes ? StoreAccess::kReadWrite : StoreAccess::kReadOnly);
    // Freshly made defaults say nothing about what the mouse holds.
    knowsMouse_ = settings_->LoadConfiguration() == 1;
    for (const LoadProblem& problem : settings_->LoadProblems()) {
      // A damaged file the command rewrites is told of with its kept copy.
      if (writes && !CouldNotOpen(problem.read)) continue;
      const std::string what = problem.profile < 0 ? std::string("the settings are")
                                                   : "profile " + std::to_string(problem.profile + 1) + " is";
      *env_.err << "zeltra-cli: note: " << Quoted(problem.file) << " " << WhyUnread(problem.read) << "; " << what
                << " taken as defaults and the file is left as it is\n";
    }
  }

  // The data folder itself, or its config folder.
  bool InDataFolder(const std::filesystem::path& file) const {
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::absolute(file, ec).lexically_normal().parent_path();
    return folder == folder_ || folder == (folder_ / "config").lexically_normal();
  }

  SettingsStore& settings() { return *settings_; }

  void Save() {
    if (!settings_->SaveAll()) FailUnsaved();
  }
  [[noreturn]] void FailUnsaved() const { Fail(kExitFile, "cannot write the settings in " + Quoted(folder_)); }

  // ---- The mouse ----

  std::shared_ptr<HidBackend> Backend() {
    if (backend_) return backend_;
    std::shared_ptr<HidBackend> inner;
    if (request_.virtualMouse)
      inner = env_.virtualMouse ? env_.virtualMouse(*env_.clock) : MakeDemoVirtualMouse(*env_.clock);
    else
      inner = env_.hidBackend ? env_.hidBackend() : nullptr;
    if (!inner) Fail(kExitNoDevice, "this build has no HID backend for the real mouse");
    trace_ = std::make_shared<HidTrace>(sink_, *env_.clock);
    backend_ = WithHidTrace(std::move(inner), trace_);
    return backend_;
  }

  // Scans for the mouse. `standby` as the window starts: 1 holds every write
  // back until the mouse reports itself online.
  void Connect(int standby) {
    // Another sensor changes every profile's DPI stages and files, as in the
    // window, when the command may write them.
    host_ = std::make_unique<HeadlessLinkHost>(
        *settings_, &library_, writes_ ? HeadlessLinkHost::Sensor::Follow : HeadlessLinkHost::Sensor::Record);
    link_ = std::make_unique<DeviceLink>(Backend(), *env_.clock, *host_, *host_, *host_);
    link_->InitStandby(standby);
    // The stored current profile is what the mouse was last sent; freshly
    // made defaults say nothing, so every group goes out, zeros included.
    if (knowsMouse_)
      link_->ReloadDeviceCaches();
    else
      link_->MarkCachesUnknown();
    link_->ScanDevices();
    if (link_->AnyHandleOpen()) return;
    for (const HidInterfaceInfo& member : backend_->Enumerate()) {
      if (TraceLinkName(member.identity) != "other" && !member.path.empty())
        Fail(kExitNoDevice, "the mouse is at " + ToUtf8(member.path) +
                                " but cannot be opened (on Linux: install the udev rule, see the README)");
    }
    Fail(kExitNoDevice, "no mouse found, neither on its cable nor through its receiver");
  }

  // The status query; fails unless the mouse answers it, and with `online`
  // also unless the mouse may be written to (online, or the settings do not
  // wait for it).
  void RequireAnswer(bool online) {
    link_->QueryStatus();
    if (!sensorNumber()) Fail(kExitNoAnswer, "the mouse did not answer the status query");
    if (online && !link_->standby().active)
      Fail(kExitNoAnswer, "the mouse is not online: wake it up or bring it near its receiver");
  }

  // Sends every group of the current profile that differs from what the
  // mouse holds. Nothing is saved when a report did not get through: the
  // same command then sends it again.
  int ApplyAll() {
    const int before = trace_->Transfers(TraceDirection::SetFeature);
    const int failedBefore = trace_->Failures(TraceDirection::SetFeature);
    link_->RequestApply(kEveryGroup);
    link_->ApplyPendingChanges();
    link_->DeliverMouseReports();  // a DPI-button press during the command
    return CheckedSent(before, failedBefore);
  }

  int FactoryReset() {
    const int before = trace_->Transfers(TraceDirection::SetFeature);
    const int failedBefore = trace_->Failures(TraceDirection::SetFeature);
    link_->SendFactoryReset();
    const int sent = CheckedSent(before, failedBefore);
    const int current = settings_->CurrentProfileIndex();
    settings_->ResetProfileKeepingName(current);
    if (!settings_->WriteProfileFile(current, settings_->ProfilePath(current)))
      Fail(kExitFile, "cannot write " + Quoted(settings_->ProfilePath(current)));
    link_->CompleteFactoryReset();
    return sent;
  }

  DeviceLink& link() { return *link_; }
  std::optional<int> sensorNumber() const { return host_ ? host_->sensorNumber() : std::nullopt; }

 private:
  void TakeLock() {
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::milliseconds(env_.lockWaitMs);
    LockAttempt attempt = env_.lockDataFolder(folder_, kLockHolderCli);
    // A new holder writes its name just after taking the lock, so the name
    // read in between can still be the last holder's: the window counts as
    // the holder once it was named twice, 50 ms apart.
    int windowNamed = 0;
    while (!attempt.lock && !attempt.failed && std::chrono::steady_clock::now() < give_up) {
      windowNamed = attempt.holder == kLockHolderWindow ? windowNamed + 1 : 0;
      if (windowNamed == 2) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      attempt = env_.lockDataFolder(folder_, kLockHolderCli);
    }
    lock_ = std::move(attempt.lock);
    if (lock_) return;
    if (attempt.failed) Fail(kExitFile, "cannot write the data folder " + Quoted(folder_));
    if (attempt.holder != kLockHolderWindow)
      Fail(kExitFile, Quoted(folder_) + " is in use by another zeltra-cli; run the command again when it is done");
    Fail(kExitFile, "the Zeltra window is running and keeps the settings of " + Quoted(folder_) +
                        ": exit it from its tray menu, then run the command again");
  }

  int CheckedSent(int before, int failedBefore) {
    const int sent = trace_->Transfers(TraceDirection::SetFeature) - before;
    const int failed = trace_->Failures(TraceDirection::SetFeature) - failedBefore;
    if (failed > 0)
      Fail(kExitNoAnswer, "the mouse did not take " + std::to_string(failed) + " of " + std::to_string(sent) +
                              " reports; nothing was saved: run the command again");
    return sent;
  }

  const CliRequest& request_;
  const CliEnvironment& env_;
  std::shared_ptr<HidTraceSink> sink_;
  std::filesystem::path folder_;
  std::unique_ptr<DataFolderLock> lock_;
  bool writes_ = false;
  bool knowsMouse_ = false;
  MacroLibrary library_;
  std::unique_ptr<SettingsStore> settings_;
  std::shared_ptr<HidTrace> trace_;
  std::shared_ptr<HidBackend> backend_;
  std::unique_ptr<HeadlessLinkHost> host_;
  std::unique_ptr<DeviceLink> link_;  // last: it goes first
};

struct Output {
  Json json;
  std::string text;
};

std::string ProfileLabel(const SettingsStore& settings, int index) {
  return "profile " + std::to_string(index + 1) + " (" + ToUtf8(settings.Profile(index).Setting(kProfileName)) + ")";
}

[[noreturn]] void FailUnloaded(const std::filesystem::path& file, FileRead read) {
  switch (read) {
    case FileRead::kInvalid: Fail(kExitFile, Quoted(file) + " is not a profile file; nothing was changed");
    case FileRead::kNotAFile:
    case FileRead::kTooLarge: Fail(kExitFile, "cannot read " + Quoted(file) + ": it " + WhyUnread(read));
    default: Fail(kExitFile, "cannot read " + Quoted(file));
  }
}

// A copy of the profile with `file` read into it, or the error of a file
// that cannot be one (a pipe or device is refused without waiting on it).
ProfileRecord ReadProfileFileOrFail(const std::filesystem::path& file, const ProfileRecord& base) {
  ProfileRecord record = base;
  FileRead read = FileRead::kRead;
  if (!ReadProfileRecord(file, record, &read)) FailUnloaded(file, read);
  return record;
}

std::string Padded(std::string_view text, std::size_t width) {
  std::string out(text);
  out.resize(std::max(width, text.size() + 1), ' ');
  return out;
}

Output Devices(Session& session) {
  const std::shared_ptr<HidBackend> backend = session.Backend();
  const std::vector<HidInterfaceInfo> members = backend->Enumerate();
  Json links = Json::array();
  std::string text;
  bool any = false;
  for (std::string_view name : {std::string_view("cable"), std::string_view("receiver")}) {
    Json interfaces = Json::array();
    for (const HidInterfaceInfo& member : members) {
      if (TraceLinkName(member.identity) != name || member.path.empty()) continue;
      // The roles the scan gives it: one interface may carry both reports.
      const bool input = member.identity.inputReportLength == kReportLength;
      const bool feature = member.identity.featureReportLength == kReportLength;
      const std::string_view role = input && feature ? "input+feature" : input ? "input" : feature ? "feature" : "other";
      const bool openable =
          backend->Open(member.path, input ? HidAccess::ReadWrite : HidAccess::FeatureOnly) != nullptr;
      interfaces.push_back({{"role", role},
                            {"path", ToUtf8(member.path)},
                            {"inputReportLength", member.identity.inputReportLength},
                            {"featureReportLength", member.identity.featureReportLength},
                            {"openable", openable}});
      text += Padded(name, 10) + Padded(role, 9) + ToUtf8(member.path) + (openable ? "" : "  (no access)") + "\n";
      any = true;
    }
    if (interfaces.empty()) text += Padded(name, 10) + "not found\n";
    links.push_back({{"link", name}, {"interfaces", std::move(interfaces)}});
  }
  if (!any) Fail(kExitNoDevice, "no mouse found, neither on its cable nor through its receiver");
  return {{{"links", std::move(links)}}, text};
}

Output Status(Session& session) {
  session.OpenData(false);
  session.Connect(1);  // in standby the reply tells whether the mouse is online
  session.RequireAnswer(false);
  const DeviceLink& link = session.link();
  const int number = *session.sensorNumber();
  const auto code = SensorCodeFromNumber(number);
  char codeText[8] = "";
  if (code) std::snprintf(codeText, sizeof codeText, "0x%04X", static_cast<unsigned>(*code));
  static constexpr const char* kCharge[] = {"on battery", "charging", "fully charged"};
  const char* charge = kCharge[std::clamp(link.chargeState(), 0, 2)];
  const bool online = link.standby().mouseOnline == 1;
  const std::string linkName = link.HandleOpen(LinkKind::Cable) ? "cable" : "receiver";
  Json j{{"link", linkName},
         {"online", online},
         {"sensor", {{"number", number}, {"code", code ? Json(codeText) : Json()}}},
         {"battery", {{"level", link.batteryLevel()}, {"charge", charge}}}};
  std::string text = "Link: " + linkName + "\nOnline: " + (online ? "yes" : "no") + "\nSensor: " +
                     (code ? std::string(codeText) : std::string("unknown")) + " (number " + std::to_string(number) +
                     ")\nBattery: " + std::to_string(link.batteryLevel()) + " % (" + charge + ")\n";
  return {std::move(j), std::move(text)};
}

Output Profiles(Session& session) {
  session.OpenData(false);
  Json j = DescribeProfileList(session.settings());
  return {j, ProfileListText(j)};
}

Output Show(Session& session, const CliRequest& request) {
  session.OpenData(false);
  const int index = request.profile > 0 ? request.profile - 1 : session.settings().CurrentProfileIndex();
  Json j = DescribeProfile(session.settings(), index);
  return {j, ProfileText(j)};
}

// The mouse is connected and may be written to.
void ConnectForWriting(Session& session) {
  session.Connect(ParseDecimal(session.settings().Globals().Value(kNeedPassword)) == 1 ? 1 : 0);
  session.RequireAnswer(true);
}

Output Switch(Session& session, const CliRequest& request) {
  session.OpenData(true);
  ConnectForWriting(session);
  SettingsStore& settings = session.settings();
  settings.SetCurrentProfileIndex(request.profile - 1);
  const int sent = session.ApplyAll();
  session.Save();
  const int index = settings.CurrentProfileIndex();
  return {{{"current", index + 1}, {"name", ToUtf8(settings.Profile(index).Setting(kProfileName))}, {"reportsSent", sent}},
          "Now current: " + ProfileLabel(settings, index) + "; " + std::to_string(sent) + " reports sent\n"};
}

Output Apply(Session& session, const CliRequest& request) {
  session.OpenData(true);
  const std::filesystem::path file = PathFromUtf8(request.file);
  SettingsStore& settings = session.settings();
  ProfileRecord loaded = ReadProfileFileOrFail(file, settings.CurrentProfile());
  ConnectForWriting(session);
  settings.CurrentProfile() = std::move(loaded);
  const int sent = session.ApplyAll();
  session.Save();
  const int index = settings.CurrentProfileIndex();
  return {{{"profile", index + 1},
           {"name", ToUtf8(settings.Profile(index).Setting(kProfileName))},
           {"file", PathText(file)},
           {"reportsSent", sent}},
          PathText(file) + " is now " + ProfileLabel(settings, index) + "; " + std::to_string(sent) + " reports sent\n"};
}

Output Export(Session& session, const CliRequest& request) {
  session.OpenData(false);
  const std::filesystem::path file = PathFromUtf8(request.file);
  const int index = request.profile - 1;
  // Only the window and the commands that hold the lock write there.
  if (session.InDataFolder(file))
    Fail(kExitFile, "export writes outside the data folder; " + Quoted(file) + " is in it (\"import\" changes a profile)");
  if (!session.settings().ExportProfile(index, file)) Fail(kExitFile, "cannot write " + Quoted(file));
  return {{{"profile", request.profile}, {"file", PathText(file)}},
          "Wrote " + ProfileLabel(session.settings(), index) + " to " + PathText(file) + "\n"};
}

Output Import(Session& session, const CliRequest& request) {
  session.OpenData(true);
  const std::filesystem::path file = PathFromUtf8(request.file);
  const int index = request.profile - 1;
  SettingsStore& settings = session.settings();
  // The file goes into the profile and the working files, not to the mouse:
  // "apply" sends a file.
  const ImportResult result = settings.ImportProfile(index, file);
  if (!result.Loaded()) FailUnloaded(file, result.read);
  if (!result.saved) session.FailUnsaved();
  return {{{"profile", request.profile}, {"name", ToUtf8(settings.Profile(index).Setting(kProfileName))},
           {"file", PathText(file)}},
          "Read " + PathText(file) + " into " + ProfileLabel(settings, index) + "\n"};
}

Output Reset(Session& session) {
  session.OpenData(true);
  session.Connect(0);  // the reset goes out whether or not the mouse is online
  session.RequireAnswer(false);
  const int sent = session.FactoryReset();
  const int index = session.settings().CurrentProfileIndex();
  return {{{"profile", index + 1}, {"reportsSent", sent}},
          "The mouse is back at its factory settings; " + ProfileLabel(session.settings(), index) +
              " holds the defaults again\n"};
}

Output LinkedPrograms(Session& session, int index) {
  const SettingsStore& settings = session.settings();
  Json programs = DescribePrograms(settings.Profile(index));
  std::string text = ProfileLabel(settings, index) + " switches with: " + ProgramsText(programs) + "\n";
  return {{{"profile", index + 1}, {"name", ToUtf8(settings.Profile(index).Setting(kProfileName))},
           {"programs", std::move(programs)}},
          std::move(text)};
}

Output Link(Session& session, const CliRequest& request, std::ostream& err) {
  std::vector<std::u16string> links;
  for (const std::string& program : request.programs) {
    std::u16string link = FromUtf8(program);
    if (const auto problem = CheckProgramLink(link)) {
      // Such a text is not repeated: the message stays one line.
      if (*problem == LinkProblem::kControlCharacter)
        Fail(kExitUsage, "a program's path holds a line break or another control character");
      Fail(kExitUsage, "\"" + program +
                           "\" is not a program: give its full path (C:\\Games\\game.exe) or its file name alone "
                           "(game.exe)");
    }
    links.push_back(std::move(link));
  }
  session.OpenData(true);
  SettingsStore& settings = session.settings();
  const int index = request.profile - 1;
  ProfileRecord& profile = settings.Profile(index);
  for (const std::u16string& link : links) {
    if (!AddProgramLink(profile, link))
      Fail(kExitUsage, ProfileLabel(settings, index) + " links three programs already (" +
                           ProgramsText(DescribePrograms(profile)) + "): unlink it first");
  }
  session.Save();
  // What will not switch as the user may expect.
  bool shown = false;
  for (int at = 0; at < settings.ProfileShowCount(); ++at) shown = shown || settings.ProfileShowList(at) == index;
  if (!shown)
    err << "zeltra-cli: note: " << ProfileLabel(settings, index)
        << " is not in the window's profile list: its programs switch nothing until it is added\n";
  for (const std::u16string& link : links) {
    const int first = LinkedProfileOf(settings, link);
    if (shown && first >= 0 && first != index)
      err << "zeltra-cli: note: " << ProfileLabel(settings, first) << " links " << ToUtf8(link)
          << " too and comes first in the list: it is the one that switches\n";
  }
  return LinkedPrograms(session, index);
}

Output Unlink(Session& session, const CliRequest& request) {
  session.OpenData(true);
  const int index = request.profile - 1;
  for (ProfileSetting slot : kProgramLinkSettings) session.settings().Profile(index).SetSetting(slot, u"");
  session.Save();
  return LinkedPrograms(session, index);
}

Output Run(Session& session, const CliRequest& request, std::ostream& err) {
  switch (request.command) {
    case Command::Devices: return Devices(session);
    case Command::Status: return Status(session);
    case Command::Profiles: return Profiles(session);
    case Command::Show: return Show(session, request);
    case Command::Switch: return Switch(session, request);
    case Command::Apply: return Apply(session, request);
    case Command::Export: return Export(session, request);
    case Command::Import: return Import(session, request);
    case Command::Reset: return Reset(session);
    case Command::Link: return Link(session, request, err);
    case Command::Unlink: return Unlink(session, request);
  }
  Fail(kExitUsage, "unknown command");
}

}  // namespace

std::filesystem::path PathFromUtf8(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

int RunCli(std::span<const std::string> args, const CliEnvironment& env) {
  const ParsedCommandLine parsed = ParseCommandLine(args);
  if (!parsed.request) {
    (parsed.exitCode == kExitDone ? *env.out : *env.err)
        << (parsed.exitCode == kExitDone ? "" : "zeltra-cli: ") << parsed.text << (parsed.text.ends_with('\n') ? "" : "\n");
    return parsed.exitCode;
  }
  const CliRequest& request = *parsed.request;
  // One command is one run of the program: what an earlier one in this
  // process read says nothing about the files now.
  ForgetDamagedFiles();
  int status = kExitDone;
  try {
    Session session(request, env);
    const Output output = Run(session, request, *env.err);
    if (request.json)
      *env.out << output.json.dump(2) << "\n";
    else
      *env.out << output.text;
    env.out->flush();
  } catch (const CliError& e) {
    *env.err << "zeltra-cli: " << e.message << "\n";
    status = e.status;
  } catch (const std::filesystem::filesystem_error& e) {
    *env.err << "zeltra-cli: " << e.what() << "\n";
    status = kExitFile;
  } catch (const std::exception& e) {
    *env.err << "zeltra-cli: unexpected failure: " << e.what() << "\n";
    status = 1;
  }
  TellKeptCopies(*env.err);
  return status;
}

}  // namespace zeltra::cli
