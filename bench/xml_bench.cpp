// Reading a game-data file of about 1 MB: a map of objects and a script of
// triggers with spoken lines, indented, commented and in mixed letter case as
// people write them. Target: parsing under 100 ms.
#include <benchmark/benchmark.h>

#include <string>

#include "core/code_page.h"
#include "runtime/data_file.h"
#include "runtime/xml_parser.h"

namespace {

std::string GeneratedGameData(std::size_t targetSize) {
    std::string text = "<?xml version=\"1.0\" encoding=\"windows-1250\"?>\r\n<GameData>\r\n  <Map>\r\n";
    std::size_t n = 0;
    for (; text.size() < targetSize / 2; ++n) {
        const std::string i = std::to_string(n);
        text += "    <!-- object " + i + " -->\r\n";
        text += "    <Cos Type=\"Choinka\" Id=\"Tree" + i + "\" X=\"" + std::to_string(n % 97) + ",5\" Y=\"" +
                std::to_string(n % 89) + "\"/>\r\n";
        text += "    <cos type=\"dom\" x=\"" + i + "\" y=\"2\" w=\"5\" h=\"4\" entrance=\"top\" />\r\n";
    }
    text += "  </Map>\r\n  <Triggers>\r\n";
    for (n = 0; text.size() < targetSize; ++n) {
        const std::string i = std::to_string(n);
        text += "    <trigger event=\"distance\" id=\"tree" + i + "\" name=\"seen" + i + "\" value=\"\">\r\n";
        text += "      <action type=\"set\" name=\"seen" + i + "\" value=\"yes\"/>\r\n";
        text += "      <action type=\"dialog\" id=\"hero\">\r\n        Wes\xB3ych \x8Cwi\xB9t, choinko numer " + i +
                "!<br/>\r\n        Jaka\x9C ty\tpi\xEAkna.\r\n      </action>\r\n";
        text += "      <action type=\"timer\" time=\"5\" id=\"t" + i + "\"/>\r\n    </trigger>\r\n";
    }
    return text + "  </Triggers>\r\n</GameData>\r\n";
}

const std::string& GameData() {
    static const std::string text = GeneratedGameData(1 << 20);
    return text;
}

// Four times the size must take about four times as long.
void BM_ParseGameData(benchmark::State& state) {
    const std::string text = GeneratedGameData(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        gb::TXMLDocument document;
        gb::Parse(document, text, gb::kGameXMLOptions);
        benchmark::DoNotOptimize(document.ChildCount());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ParseGameData)->Arg(1 << 20)->Arg(4 << 20)->Unit(benchmark::kMillisecond);

void BM_AppendGameData(benchmark::State& state) {
    gb::TXMLDocument document;
    gb::Parse(document, GameData(), gb::kGameXMLOptions);
    for (auto _ : state) {
        std::string out;
        document.AppendXML(out);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_AppendGameData)->Unit(benchmark::kMillisecond);

// The same file declared as UTF-8, converted before it is parsed.
void BM_DecodeUtf8GameData(benchmark::State& state) {
    const std::string utf8 = "\xEF\xBB\xBF" + bbx::Cp1250ToUtf8(GameData());
    for (auto _ : state) benchmark::DoNotOptimize(gb::DataFileText(utf8).size());
}
BENCHMARK(BM_DecodeUtf8GameData)->Unit(benchmark::kMillisecond);

}  // namespace
