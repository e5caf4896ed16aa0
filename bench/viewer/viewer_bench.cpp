// Times the viewer: reading a full result file, loading and drawing every
// view through the window's own code, and redrawing for another plane.
//   viewer_bench [--write <file.tsl2>]
// With --write it only writes the synthetic result file and exits.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "result_file.h"
#include "synthetic_result.h"
#include "viewer_fixture.h"
#include "viewer_window.h"

namespace {

using Clock = std::chrono::steady_clock;

template <typename F>
double MedianMs(int runs, F&& work) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const auto start = Clock::now();
    work(i);
    times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main(int argc, char* argv[]) {
  using namespace tessalin;
  const std::string text = fixture::ResultFileText({}, bench::SyntheticDose);
  if (argc == 3 && std::strcmp(argv[1], "--write") == 0) {
    if (!fixture::WriteText(argv[2], text)) {
      std::fprintf(stderr, "cannot write %s\n", argv[2]);
      return 1;
    }
    return 0;
  }

  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QTemporaryDir dir;
  const QString path = dir.filePath("bench.tsl2");
  if (!dir.isValid() || !fixture::WriteText(path.toStdString(), text)) {
    std::fprintf(stderr, "cannot write the benchmark's result file\n");
    return 1;
  }
  QDir::setCurrent(dir.path());

  const double readMs = MedianMs(7, [&](int) {
    ResultHeader header;
    ReadResultFile(path.toStdString(), header);
  });
  Form2 viewer;
  viewer.setAttribute(Qt::WA_DontShowOnScreen);
  viewer.show();
  const double loadMs = MedianMs(7, [&](int) { viewer.LoadResult("bench.tsl2"); });
  const double planeMs = MedianMs(40, [&](int i) { viewer.ShowPlane(40 - i); });

  std::printf("result file: %zu bytes\n", text.size());
  std::printf("read and parse:                    %7.1f ms (median of 7)\n", readMs);
  std::printf("load and draw every view (OK):     %7.1f ms (median of 7)\n", loadMs);
  std::printf("plane change (axial maps, profile): %6.1f ms (median of 40)\n", planeMs);
  return 0;
}
