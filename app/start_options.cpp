#include "app/start_options.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "device/hid_trace.h"

namespace zeltra {

namespace {

struct FlagOption {
  std::u16string_view name;
  bool StartOptions::*value;
};
constexpr std::array<FlagOption, 2> kFlagOptions{{
    {u"--virtual-mouse", &StartOptions::virtualMouse},
    {kStartInTraySwitch, &StartOptions::startInTray},
}};

struct ValueOption {
  std::u16string_view name;
  std::filesystem::path StartOptions::*value;
};
constexpr std::array<ValueOption, 3> kValueOptions{{
    {u"--virtual-mouse-control", &StartOptions::virtualMouseControl},
    {u"--hid-log", &StartOptions::hidTrace},
    {u"--first-paint-log", &StartOptions::firstPaintLog},
}};

}  // namespace

StartOptions ParseStartOptions(std::span<const std::u16string> arguments) {
  StartOptions options;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::u16string_view argument = arguments[i];
    if (const auto flag = std::ranges::find(kFlagOptions, argument, &FlagOption::name); flag != kFlagOptions.end()) {
      options.*(flag->value) = true;
      continue;
    }
    for (const ValueOption& option : kValueOptions) {
      std::u16string_view value;
      if (argument == option.name) {
        if (i + 1 == arguments.size()) break;
        value = arguments[++i];
      } else if (argument.size() > option.name.size() && argument.starts_with(option.name) &&
                 argument[option.name.size()] == u'=') {
        value = argument.substr(option.name.size() + 1);
      } else {
        continue;
      }
      std::filesystem::path& field = options.*option.value;
      if (field.empty()) field = std::u16string(value);
      break;
    }
  }
  return options;
}

StartBackend MakeStartBackend(const StartOptions& options, Clock& clock,
                              const std::function<std::shared_ptr<HidBackend>()>& real) {
  StartBackend made;
  if (options.virtualMouse) {
    made.virtualMouse = MakeDemoVirtualMouse(clock);
    made.backend = made.virtualMouse;
  } else {
    made.backend = real();
  }
  if (options.hidTrace.empty()) return made;
  if (auto sink = OpenHidTraceFile(options.hidTrace))
    made.backend = WithHidTrace(std::move(made.backend), std::make_shared<HidTrace>(std::move(sink), clock));
  return made;
}

}  // namespace zeltra
