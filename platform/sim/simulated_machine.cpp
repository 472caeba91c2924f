#include "platform/sim/simulated_machine.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "common/atomic_file.h"
#include "common/ini_document.h"
#include "common/text.h"
#include "platform/sim/reg_file.h"
#include "platform/sim/sim_ini_lines.h"
#include "platform/sim/sim_machine_error.h"
#include "platform/sim/sim_service_behaviour.h"

extern char** environ;

namespace platform::sim {

namespace {

constexpr std::size_t kMaxServicesFileBytes = 16u * 1024 * 1024;

std::filesystem::path registryFile(const std::filesystem::path& folder) {
  return folder / "registry.reg";
}
std::filesystem::path servicesFile(const std::filesystem::path& folder) {
  return folder / "services.ini";
}

// "5.1" or "4.10.2222" as numbers; missing parts are 0.
std::vector<std::uint32_t> versionNumbers(const std::string& text) {
  std::vector<std::uint32_t> numbers;
  for (const std::string_view part : common::split(text, '.')) {
    const auto number = common::parseDecimal(common::trim(part));
    numbers.push_back(
        number && *number >= 0 && *number <= 0xFFFFFFFF ? static_cast<std::uint32_t>(*number) : 0);
  }
  numbers.resize(std::max<std::size_t>(numbers.size(), 3), 0);
  return numbers;
}

// A program named as on Windows, as a Linux program: "...\Lorvin.exe" runs ".../Lorvin" when
// only that exists.
std::string linuxProgram(const std::string& program) {
  const std::filesystem::path path = linuxPathOf(program);
  const std::string text = path.string();
  constexpr std::string_view kExe = ".exe";
  std::error_code error;
  if (text.find('/') != std::string::npos && text.size() > kExe.size() &&
      common::equalsIgnoreCase(std::string_view(text).substr(text.size() - kExe.size()), kExe) &&
      !std::filesystem::exists(path, error)) {
    const std::string bare = text.substr(0, text.size() - kExe.size());
    if (std::filesystem::exists(bare, error))
      return bare;
  }
  return text;
}

// Starts the program; 0 and its process id, or the error number.
int spawn(const std::string& program, const std::vector<std::string>& arguments, pid_t& pid) {
  const std::string file = linuxProgram(program);
  std::vector<std::string> words{file};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words)
    argv.push_back(word.data());
  argv.push_back(nullptr);
  return posix_spawnp(&pid, file.c_str(), nullptr, nullptr, argv.data(), environ);
}

void waitFor(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
}

std::string baseName(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::filesystem::path linuxPathOf(const std::string& windowsPath) {
  std::string path = windowsPath;
  for (char& c : path)
    if (c == '\\')
      c = '/';
  if (path.size() >= 2 && (path[0] == 'Z' || path[0] == 'z') && path[1] == ':')
    path.erase(0, 2);
  return path;
}

std::vector<std::string> commandLineArguments(const std::string& commandLine) {
  std::vector<std::string> arguments;
  std::string current;
  bool inWord = false;
  bool quoted = false;
  for (std::size_t i = 0; i < commandLine.size(); ++i) {
    const char c = commandLine[i];
    if (c == '\\') {
      std::size_t slashes = 0;
      while (i < commandLine.size() && commandLine[i] == '\\') {
        ++slashes;
        ++i;
      }
      if (i < commandLine.size() && commandLine[i] == '"') {
        // 2n backslashes and a quote: n backslashes and the quote's usual meaning; 2n+1: n
        // backslashes and a literal quote.
        current.append(slashes / 2, '\\');
        if (slashes % 2 == 1) {
          current.push_back('"');
        } else {
          quoted = !quoted;
        }
      } else {
        current.append(slashes, '\\');
        --i;
      }
      inWord = true;
    } else if (c == '"') {
      quoted = !quoted;
      inWord = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (inWord)
        arguments.push_back(std::move(current));
      current.clear();
      inWord = false;
    } else {
      current.push_back(c);
      inWord = true;
    }
  }
  if (inWord)
    arguments.push_back(std::move(current));
  return arguments;
}

OsVersion SimSystemInfo::version() {
  OsVersion version;
  constexpr const char* kNtKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
  if (registry_.keyExists(RegRoot::LocalMachine, kNtKey)) {
    const auto numbers = versionNumbers(
        registry_.readText(RegRoot::LocalMachine, kNtKey, "CurrentVersion").value_or(""));
    version.major = numbers[0];
    version.minor = numbers[1];
    version.build = versionNumbers(
        registry_.readText(RegRoot::LocalMachine, kNtKey, "CurrentBuildNumber").value_or(""))[0];
    version.ntFamily = true;
    return version;
  }
  const auto numbers =
      versionNumbers(registry_
                         .readText(RegRoot::LocalMachine,
                                   "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "VersionNumber")
                         .value_or(""));
  version.major = numbers[0];
  version.minor = numbers[1];
  version.build = numbers[2];
  return version;
}

bool SimProcesses::startDetached(const std::string& program,
                                 const std::vector<std::string>& arguments,
                                 std::string& errorText) {
  pid_t pid = 0;
  const int error = spawn(program, arguments, pid);
  if (error != 0) {
    errorText = std::strerror(error);
    return false;
  }
  std::thread([pid] { waitFor(pid); }).detach();  // reaps it when it ends
  return true;
}

bool SimProcesses::runAndWait(const std::string& program, const std::string& commandLine,
                              std::string& errorText) {
  const std::string name = baseName(program);
  if (common::equalsIgnoreCase(name, "regedit.exe") || common::equalsIgnoreCase(name, "regedit"))
    return runRegistryEditor(commandLine, errorText);
  pid_t pid = 0;
  const int error = spawn(program, commandLineArguments(commandLine), pid);
  if (error != 0) {
    errorText = std::strerror(error);
    return false;
  }
  waitFor(pid);
  return true;
}

// "/e file key": exports the key, as the registry editor of the platform writes it. Like the
// real one it ends without writing anything when the key does not exist.
bool SimProcesses::runRegistryEditor(const std::string& commandLine, std::string& errorText) {
  const std::vector<std::string> arguments = commandLineArguments(commandLine);
  if (arguments.size() != 3 || !(common::equalsIgnoreCase(arguments[0], "/e") ||
                                 common::equalsIgnoreCase(arguments[0], "-e"))) {
    errorText = "the simulated registry editor only exports a key: /e \"file\" \"key\"";
    return false;
  }
  const std::string& key = arguments[2];
  const std::size_t separator = key.find('\\');
  const std::string rootText = key.substr(0, separator);
  const std::string path =
      separator == std::string::npos ? std::string() : key.substr(separator + 1);
  std::optional<RegRoot> root;
  if (common::equalsIgnoreCase(rootText, "HKEY_LOCAL_MACHINE") ||
      common::equalsIgnoreCase(rootText, "HKLM"))
    root = RegRoot::LocalMachine;
  else if (common::equalsIgnoreCase(rootText, "HKEY_CURRENT_USER") ||
           common::equalsIgnoreCase(rootText, "HKCU"))
    root = RegRoot::CurrentUser;
  if (root)
    registry_.exportKey(*root, path, linuxPathOf(arguments[1]), RegFileFormat::Version5);
  return true;
}

SimulatedMachine::SimulatedMachine(const std::filesystem::path& folder, Clock& clock,
                                   const std::filesystem::path& userRegistryFile)
    : folder_(folder), clock_(clock) {
  std::error_code error;
  if (!std::filesystem::is_directory(folder_, error))
    throw MachineFileError(folder_.string(), 0, "the machine folder does not exist");

  const std::filesystem::path registryPath = registryFile(folder_);
  std::string registryBytes;
  try {
    registryBytes = common::readFile(registryPath, kMaxRegFileBytes);
  } catch (const common::FileError& failure) {
    throw MachineFileError(registryPath.string(), 0, failure.what());
  }
  importRegFile(registryBytes, registryPath.string(), RegRoot::LocalMachine, hklm_);

  ServiceBehaviours behaviours;
  const std::filesystem::path servicesPath = servicesFile(folder_);
  if (std::filesystem::exists(servicesPath, error)) {
    behaviours = parseServiceBehaviours(
        readMachineTextFile(servicesPath, servicesPath.string(), kMaxServicesFileBytes),
        servicesPath.string());
  }
  eventLogs_ = std::make_unique<SimEventLogs>(folder_ / "eventlogs");

  // Everything is loaded: from here on changes are written back.
  registry_ = std::make_unique<SimRegistry>(
      hklm_, hklmLock_, [this] { saveRegistry(); }, userRegistryFile);
  ScmChangeListener listener;
  listener.registryChanged = [this] { return saveRegistry(); };
  listener.runStateChanged = [this](const std::string& name, std::uint32_t state) {
    keepRunState(name, state);
  };
  listener.serviceRemoved = [this](const std::string& name) { keepRunState(name, std::nullopt); };
  scm_ = std::make_unique<SimScm>(hklm_, hklmLock_, clock_, std::move(behaviours), listener);
  systemInfo_ = std::make_unique<SimSystemInfo>(*registry_);
  processes_ = std::make_unique<SimProcesses>(*registry_);
}

SimulatedMachine::~SimulatedMachine() {
  std::lock_guard lock(hklmLock_);
  if (registryUnsaved_)
    saveRegistry();
  if (!unsavedRunStates_.empty())
    saveRunStates();
}

// The whole hive, in the 8-bit format of the shipped computer. False (and kept for the next
// save) when it cannot be written; the file then is as it was.
bool SimulatedMachine::saveRegistry() {
  try {
    common::writeFileAtomically(
        registryFile(folder_),
        exportRegFile(hklm_, rootName(RegRoot::LocalMachine), RegFileFormat::Regedit4));
    registryUnsaved_ = false;
    return true;
  } catch (const std::exception&) {
    registryUnsaved_ = true;
    return false;
  }
}

void SimulatedMachine::keepRunState(const std::string& serviceName,
                                    std::optional<std::uint32_t> state) {
  unsavedRunStates_[serviceName] = state;
  saveRunStates();
}

// Writes every run state not yet in services.ini; what cannot be written now is written with the
// next change.
bool SimulatedMachine::saveRunStates() {
  try {
    common::IniDocument::modifyFile(servicesFile(folder_), [&](common::IniDocument& document) {
      for (const auto& [name, state] : unsavedRunStates_) {
        if (state)
          document.writeString(name, "State", stateWord(*state));
        else
          document.eraseSection(name);
      }
    });
    unsavedRunStates_.clear();
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

std::unique_ptr<SimulatedMachine> openDefaultMachine() {
  static RealClock clock;
  std::filesystem::path folder;
  if (const char* named = std::getenv("CORVANE_MACHINE"); named && *named) {
    folder = named;
  } else {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    folder = (error ? std::filesystem::current_path() : program.parent_path()) / "machine";
  }
  return std::make_unique<SimulatedMachine>(folder, clock);
}

}  // namespace platform::sim
