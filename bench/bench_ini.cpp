// Parsing a large INI text, as the simulated computer does with its event-log files.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <string>

#include "common/ini_document.h"

namespace {

// Event-log-like sections of eight keys each, with a comment and a plain line now and then,
// until the text reaches the size.
std::string generateIniText(std::size_t size) {
  std::string text = "; generated\r\n[Log]\r\nNextRecord=1\r\n\r\n";
  for (std::size_t record = 1; text.size() < size; ++record) {
    const std::string number = std::to_string(record);
    text.append("[").append(number).append("]\r\n");
    text += "Type=" + std::to_string(record % 5) + "\r\n";
    text += "Time=2006-12-11 08:02:14\r\n";
    text += "Source = Service Control Manager\r\n";
    text += "Category=0\r\n";
    text += "EventID=1073748860\r\n";
    text += "User=NT AUTHORITY\\SYSTEM\r\n";
    text += "Strings=Alerter,stopped\r\n";
    text += "Description=The service entered the stopped state number " + number + ".\r\n";
    if (record % 16 == 0) {
      text += "; a comment\r\nplain line\r\n";
    }
    text += "\r\n";
  }
  return text;
}

void BM_IniParse(benchmark::State& state, std::size_t size) {
  const std::string text = generateIniText(size);
  for (auto _ : state) {
    common::IniDocument document = common::IniDocument::parse(text);
    benchmark::DoNotOptimize(document);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(text.size()));
}

BENCHMARK_CAPTURE(BM_IniParse, 1MiB, std::size_t{1} << 20)->Unit(benchmark::kMillisecond);

}  // namespace
