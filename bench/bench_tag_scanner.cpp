// Throughput of the tag scanner with every tag kind enabled over a generated 10 MB page
// mix, beside a plain pass that only finds each "<" and ">" with memchr; and hostile pages
// that must scan in linear time: anchors never closed, anchors left open before one closing
// tag, values full of character references or bare ampersands, and one link repeated.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "parse/c_get_html_tag.h"
#include "parse/mod_string.h"

namespace {

// `prose` paragraphs of plain text stand between the rows of links: 0 gives a dense
// listing page (a link per 100 bytes), 4 a page of ordinary text density.
std::string MakePageMix(int prose) {
  {
    std::string html = "<html><head><title>Files</title><base href=\"http://h/files/\"></head>";
    int n = 0;
    while (html.size() < 10u * 1024 * 1024) {
      const std::string i = std::to_string(n++);
      html += "<p class=\"row\">Some text about file " + i + " and a few more words here.</p>\n";
      for (int k = 0; k < prose; ++k) {
        html +=
            "<p>Plain running text of an ordinary page, a sentence or two about the files "
            "offered here, with <b>some</b> markup and an &amp; entity now and then.</p>\n";
      }
      html += "<a href=\"dl/file" + i + ".zip\" target=_blank><b>File " + i + "</b> (zip)</a>\n";
      html += "<img src=\"thumb/" + i + ".jpg\" alt=\"Thumb " + i + "\" width=80 height=60>\n";
      html += "<!-- row " + i + " <a href=hidden.html> -->\n";
      if (n % 5 == 0) html += "<table><tr><td><area href=\"map" + i + ".html\" alt=M></td></tr>";
      if (n % 7 == 0) html += "<iframe src=\"ad" + i + ".html\"></iframe><frame src=f.html>";
      if (n % 11 == 0) html += "<object src=\"movie" + i + ".swf\"></object>\n";
      if (n % 13 == 0) html += "<script>if (a < b && c > d) { x = 1; }</script>\n";
    }
    return html + "</html>";
  }
}

const std::string& PageMix(int prose) {
  static const std::string dense = MakePageMix(0);
  static const std::string typical = MakePageMix(4);
  return prose == 0 ? dense : typical;
}

void BM_TagScannerAllTags(benchmark::State& state) {
  const std::string& page = PageMix(static_cast<int>(state.range(0)));
  size_t links = 0;
  for (auto _ : state) {
    vendil::cGetHtmlTag scanner;
    scanner.CustomTags("object src;embed src");
    std::string url;
    std::string text;
    links = 0;
    for (bool found = scanner.GetTagFromHtml(63, url, &text, page, "http://h/index.html"); found;
         found = scanner.GetTagFromHtml(63, url, &text)) {
      benchmark::DoNotOptimize(vendil::StripTags(text, true, true));
      ++links;
    }
  }
  state.counters["links"] = static_cast<double>(links);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_TagScannerAllTags)->Arg(0)->Arg(4)->Unit(benchmark::kMillisecond);

void BM_PlainAngleBracketPass(benchmark::State& state) {
  const std::string& page = PageMix(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    size_t tags = 0;
    const char* at = page.data();
    const char* end = page.data() + page.size();
    while (true) {
      const auto* open = static_cast<const char*>(std::memchr(at, '<', end - at));
      if (open == nullptr) break;
      const auto* close = static_cast<const char*>(std::memchr(open, '>', end - open));
      if (close == nullptr) break;
      ++tags;
      at = close + 1;
    }
    benchmark::DoNotOptimize(tags);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_PlainAngleBracketPass)->Arg(0)->Arg(4)->Unit(benchmark::kMillisecond);

void BM_UnclosedAnchors(benchmark::State& state) {
  std::string page;
  for (int i = 0; i < state.range(0); ++i) page += "<a href=\"f" + std::to_string(i) + ".zip\">x";
  for (auto _ : state) {
    vendil::cGetHtmlTag scanner;
    std::string url;
    std::string text;
    for (bool found = scanner.GetLinkFromHtml(url, &text, page, "http://h/"); found;
         found = scanner.GetLinkFromHtml(url, &text)) {
    }
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_UnclosedAnchors)
    ->RangeMultiplier(4)
    ->Range(1250, 20000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

// Every link of the anchor scan, with its title as the crawl makes it.
size_t ScanAnchors(const std::string& page, int32_t bits) {
  vendil::cGetHtmlTag scanner;
  std::string url;
  std::string text;
  size_t links = 0;
  for (bool found = scanner.GetTagFromHtml(bits, url, &text, page, "http://h/d/index.html"); found;
       found = scanner.GetTagFromHtml(bits, url, &text)) {
    benchmark::DoNotOptimize(vendil::StripTags(text, true, true));
    ++links;
  }
  return links;
}

void BM_OpenAnchorsThenOneClose(benchmark::State& state) {
  std::string page;
  for (int i = 0; i < state.range(0); ++i) page += "<a href=\"f" + std::to_string(i) + ".zip\">x";
  page += "</a>";
  for (auto _ : state) benchmark::DoNotOptimize(ScanAnchors(page, 1));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_OpenAnchorsThenOneClose)
    ->RangeMultiplier(2)
    ->Range(1000, 8000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

// A 10 MB listing whose links and texts are written with character references.
void BM_ReferenceHeavyLinks(benchmark::State& state) {
  std::string page;
  for (int n = 0; page.size() < 10u * 1024 * 1024; ++n) {
    const std::string i = std::to_string(n);
    page += "<a href=\"get.cgi?file=" + i + "&amp;type=zip&amp;lang=&#106;a&#x70;\">File&nbsp;" +
            i + " &amp; notes &copy; &#8212; &lt;new&gt;</a>\n<img src='t/" + i +
            ".png' alt='Thumb &quot;" + i + "&quot;'>\n";
  }
  size_t links = 0;
  for (auto _ : state) links = ScanAnchors(page, 31);
  state.counters["links"] = static_cast<double>(links);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_ReferenceHeavyLinks)->Unit(benchmark::kMillisecond);

// Attribute values and link texts made of ampersands and long letter runs that name no
// reference: each "&" may look ahead only as far as the longest name.
void BM_AmpersandFlood(benchmark::State& state) {
  std::string run;
  for (int k = 0; k < 20000; ++k) run += k % 2 == 0 ? "&" : "&" + std::string(60, 'a') + "=";
  std::string page;
  while (page.size() < 8u * 1024 * 1024) page += "<a href=\"x?" + run + "\">" + run + "</a>\n";
  for (auto _ : state) benchmark::DoNotOptimize(ScanAnchors(page, 1));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_AmpersandFlood)->Unit(benchmark::kMillisecond);

// The same short link a million times, with every tag kind enabled.
void BM_RepeatedLinkBomb(benchmark::State& state) {
  std::string page;
  for (int i = 0; i < 1000000; ++i) page += "<a href=1>";
  size_t links = 0;
  for (auto _ : state) links = ScanAnchors(page, 63);
  state.counters["links"] = static_cast<double>(links);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_RepeatedLinkBomb)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
