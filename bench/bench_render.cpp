// Piece rendering against its peers, in one run on the same inputs:
//   ours            the program's routines (vector code chosen for this processor)
//   portable        the same routines held to their portable code
//   straightforward the oracle of the tests, pixel by pixel, and the plain palette reduction
//   opencv          cv::resize and cv::warpAffine (bilinear, white border), single-threaded
// A summary of time ratios follows the table. Times are CPU times, steadier than wall-clock
// ones on a shared machine.

#include "ReferenceBitmapOps.h"
#include "core/board/BoardState.h"
#include "core/board/ChromosomeBitmapOps.h"
#include "core/board/FastResample.h"
#include "core/board/ProblemFolder.h"
#include "core/board/ProblemLoader.h"

#include <QCoreApplication>
#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#ifdef QUELDO_BENCH_OPENCV
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#endif

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

using namespace queldo;

namespace {

// Grey bands on a white rim, as a chromosome picture.
Bgr24Image chromosome(int w, int h, quint32 seed)
{
    QRandomGenerator random(seed);
    Bgr24Image image(w, h);
    for (int y = 3; y < h - 3; ++y)
        for (int x = 3; x < w - 3; ++x) {
            auto *p = image.row(y) + 3 * x;
            p[0] = p[1] = p[2] = std::uint8_t(random.bounded(40, 230));
        }
    return image;
}

// ------------------------------------------------------------------ straightforward peers

// The palette reduction written plainly, as the program had it before it was tuned.
QImage straightforwardReduce(const Bgr24Image &image)
{
    QImage out(image.width, image.height, QImage::Format_Indexed8);
    if (image.isNull())
        return out;
    bool grey = true;
    for (std::size_t k = 0; grey && k < image.bytes.size(); k += 3)
        grey = image.bytes[k] == image.bytes[k + 1] && image.bytes[k] == image.bytes[k + 2];
    QList<QRgb> palette;
    if (grey) {
        for (int v = 0; v < 256; ++v)
            palette << qRgb(v, v, v);
    } else {
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 7; ++g)
                for (int b = 0; b < 6; ++b)
                    palette << qRgb(r * 51, g * 255 / 6, b * 51);
        palette << qRgb(255, 255, 255);
    }
    const int whiteIndex = int(palette.size()) - 1;
    if (!grey)
        palette[whiteIndex - 1] = qRgb(250, 250, 250);
    palette[whiteIndex] = qRgba(255, 255, 255, 0);
    out.setColorTable(palette);
    for (int y = 0; y < image.height; ++y) {
        const std::uint8_t *src = image.row(y);
        uchar *dst = out.scanLine(y);
        for (int x = 0; x < image.width; ++x) {
            const int b = src[3 * x], g = src[3 * x + 1], r = src[3 * x + 2];
            if (grey)
                dst[x] = uchar(b);
            else if (r == 255 && g == 255 && b == 255)
                dst[x] = uchar(whiteIndex);
            else
                dst[x] = uchar((((r + 25) / 51) * 7 + (g * 6 + 127) / 255) * 6 + (b + 25) / 51);
        }
    }
    return out;
}

QImage straightforwardPiece(const Bgr24Image &source, float scale, int step)
{
    const Bgr24Image scaled = test::referenceScale(source, scale);
    return straightforwardReduce(
        scaled.isNull() ? Bgr24Image() : test::referenceRotate(scaled, float(step) * 15.0f));
}

// ------------------------------------------------------------------ OpenCV peers

#ifdef QUELDO_BENCH_OPENCV

cv::Mat wrap(const Bgr24Image &image)
{
    return cv::Mat(image.height, image.width, CV_8UC3,
                   const_cast<std::uint8_t *>(image.bytes.data()), image.stride());
}

cv::Mat openCvScale(const cv::Mat &src, float factor)
{
    cv::Mat dst;
    cv::resize(src, dst,
               cv::Size(int(float(src.cols) * factor), int(float(src.rows) * factor - 1.0f)), 0, 0,
               cv::INTER_LINEAR);
    return dst;
}

// The same turn about the same centres onto the same canvas: the matrix takes an output pixel
// to its source position.
cv::Mat openCvRotate(const cv::Mat &src, float angle)
{
    const QSize size = rotatedSize(src.cols, src.rows, angle);
    const double halfW = (size.width() + 1) / 2, halfH = (size.height() + 1) / 2;
    const double t = double(angle) * 3.141592653589793 / 180.0, c = std::cos(t), s = std::sin(t);
    const cv::Matx23d m(c, -s, src.cols / 2 - c * halfW + s * halfH, s, c,
                        src.rows / 2 - s * halfW - c * halfH);
    cv::Mat dst;
    cv::warpAffine(src, dst, m, cv::Size(size.width(), size.height()),
                   cv::INTER_LINEAR | cv::WARP_INVERSE_MAP, cv::BORDER_CONSTANT,
                   cv::Scalar(255, 255, 255));
    return dst;
}

// The reduction with OpenCV's own tools: a grey picture is its blue plane under the grey palette.
QImage openCvReduce(const cv::Mat &image)
{
    cv::Mat planes[3];
    cv::split(image, planes);
    const bool grey = cv::countNonZero(planes[0] != planes[1]) == 0 &&
                      cv::countNonZero(planes[1] != planes[2]) == 0;
    if (!grey) {
        Bgr24Image copy(image.cols, image.rows);
        image.copyTo(wrap(copy));
        return reduceToIndexed8(copy);
    }
    QImage out(image.cols, image.rows, QImage::Format_Indexed8);
    out.setColorTable(greyPiecePalette());
    planes[0].copyTo(cv::Mat(image.rows, image.cols, CV_8UC1, out.bits(), out.bytesPerLine()));
    return out;
}

QImage openCvPiece(const Bgr24Image &source, float scale, int step)
{
    return openCvReduce(openCvRotate(openCvScale(wrap(source), scale), float(step) * 15.0f));
}

#endif

// ------------------------------------------------------------------ cases

struct Size
{
    int w, h;
};
const Size sizes[] = {{20, 40}, {30, 80}, {40, 120}, {60, 180}, {80, 250}};
const float factors[] = {0.5f, 0.63f, 0.8f, 1.0f, 1.3f};
const int angles[] = {15, 45, 90, 135, 240, 330};

// A cell of 46 pictures, tallest first, each pair alike.
std::vector<Bgr24Image> cell()
{
    std::vector<Bgr24Image> sources;
    for (int n = 0; n < PieceCount; ++n)
        sources.push_back(chromosome(80 - (n / 2) * 2, 250 - (n / 2) * 9, quint32(n)));
    return sources;
}

std::vector<int> dealSteps()
{
    QRandomGenerator random(7);
    std::vector<int> steps;
    for (int n = 0; n < PieceCount; ++n)
        steps.push_back(random.bounded(0, 23));
    return steps;
}

constexpr float DealScale = 0.63f;

// Holds the routines to their portable code while a benchmark runs.
struct PortableScope
{
    explicit PortableScope(bool on) : on(on) { usePortablePixelCode(on); }
    ~PortableScope() { usePortablePixelCode(false); }
    bool on;
};

template <class Fn>
void add(const std::string &name, Fn fn, benchmark::TimeUnit unit = benchmark::kMicrosecond)
{
    benchmark::RegisterBenchmark(name.c_str(),
                                 [fn](benchmark::State &state) mutable {
                                     for (auto _ : state)
                                         fn();
                                 })
        ->Unit(unit)
        ->MinTime(0.1);
}

template <class Fn>
void addPortable(const std::string &name, Fn fn, benchmark::TimeUnit unit = benchmark::kMicrosecond)
{
    benchmark::RegisterBenchmark(name.c_str(),
                                 [fn](benchmark::State &state) mutable {
                                     PortableScope portable(true);
                                     for (auto _ : state)
                                         fn();
                                 })
        ->Unit(unit)
        ->MinTime(0.1);
}

std::string sizeName(Size s)
{
    return std::to_string(s.w) + "x" + std::to_string(s.h);
}

std::string factorName(float f)
{
    char text[16];
    std::snprintf(text, sizeof text, "%.2f", double(f));
    return text;
}

void registerScale(std::vector<std::string> &cases)
{
    for (Size s : sizes)
        for (float f : factors) {
            const std::string c = "scale/" + sizeName(s) + "/x" + factorName(f);
            cases.push_back(c);
            const Bgr24Image src = chromosome(s.w, s.h, quint32(s.w * 1000 + s.h));
            add(c + "/ours",
                [src, f] { benchmark::DoNotOptimize(ScaleChromosomeBitmap(src, f).bytes.data()); });
#ifdef QUELDO_BENCH_OPENCV
            add(c + "/opencv",
                [src, f] { benchmark::DoNotOptimize(openCvScale(wrap(src), f).data); });
#endif
            add(c + "/straightforward",
                [src, f] { benchmark::DoNotOptimize(test::referenceScale(src, f).bytes.data()); });
            addPortable(c + "/portable", [src, f] {
                benchmark::DoNotOptimize(ScaleChromosomeBitmap(src, f).bytes.data());
            });
        }
}

void registerRotate(std::vector<std::string> &cases)
{
    for (Size s : sizes)
        for (int a : angles) {
            const std::string c = "rotate/" + sizeName(s) + "/" + std::to_string(a);
            cases.push_back(c);
            const Bgr24Image src = chromosome(s.w, s.h, quint32(s.w * 1000 + s.h));
            const float angle = float(a);
            add(c + "/ours", [src, angle] {
                benchmark::DoNotOptimize(RotateChromosomeBitmap(src, angle).bytes.data());
            });
#ifdef QUELDO_BENCH_OPENCV
            add(c + "/opencv",
                [src, angle] { benchmark::DoNotOptimize(openCvRotate(wrap(src), angle).data); });
#endif
            add(c + "/straightforward", [src, angle] {
                benchmark::DoNotOptimize(test::referenceRotate(src, angle).bytes.data());
            });
            addPortable(c + "/portable", [src, angle] {
                benchmark::DoNotOptimize(RotateChromosomeBitmap(src, angle).bytes.data());
            });
        }
}

void registerDeal()
{
    const std::vector<Bgr24Image> sources = cell();
    const std::vector<int> steps = dealSteps();
    auto deal = [sources, steps](QImage (*piece)(const Bgr24Image &, float, int)) {
        return [sources, steps, piece] {
            for (int n = 0; n < PieceCount; ++n)
                benchmark::DoNotOptimize(piece(sources[n], DealScale, steps[n]).constBits());
        };
    };
    add("deal/46 pieces/ours", deal(&renderPiece), benchmark::kMillisecond);
#ifdef QUELDO_BENCH_OPENCV
    add("deal/46 pieces/opencv", deal(&openCvPiece), benchmark::kMillisecond);
#endif
    add("deal/46 pieces/straightforward", deal(&straightforwardPiece), benchmark::kMillisecond);
    addPortable("deal/46 pieces/portable", deal(&renderPiece), benchmark::kMillisecond);

    // The program's own deal: the same rendering plus turning at random and scattering.
    benchmark::RegisterBenchmark(
        "deal/DealPieces",
        [sources](benchmark::State &state) {
            std::array<Bgr24Image, PieceCount> cellArray;
            std::copy(sources.begin(), sources.end(), cellArray.begin());
            struct FixedRandom : PieceRandom
            {
                int bounded(int low, int high) override
                {
                    return int(generator.bounded(low, high));
                }
                QRandomGenerator generator{7};
            } random;
            BoardState board;
            for (auto _ : state) {
                DealPieces(board, cellArray, DealScale, QSize(780, 360), random);
                benchmark::DoNotOptimize(board.piecePicture[0].constBits());
            }
        })
        ->Unit(benchmark::kMillisecond)
        ->MinTime(0.1);
}

void registerWheelAndDrop(const QString &imagesFolder)
{
    const Bgr24Image source = chromosome(50, 200, 1);
    auto notch = [source](QImage (*piece)(const Bgr24Image &, float, int)) {
        return [source, piece, step = 0]() mutable {
            step = (step + 1) % 24;
            benchmark::DoNotOptimize(piece(source, DealScale, step).constBits());
        };
    };
    add("wheel notch/ours", notch(&renderPiece));
    add("wheel notch/straightforward", notch(&straightforwardPiece));

    // A drop reads the piece's bitmap afresh and draws it.
    const QDir folder(imagesFolder);
    QDir().mkpath(folder.filePath(QStringLiteral("bench")));
    source.toQImage().save(folder.filePath(QStringLiteral("bench/") + bitmapFileName(0)), "BMP");
    auto drop = [folder](QImage (*piece)(const Bgr24Image &, float, int)) {
        return [folder, piece] {
            const BitmapDecodeResult loaded =
                reloadSourceBitmap(folder, QStringLiteral("bench"), 0);
            benchmark::DoNotOptimize(piece(loaded.image, DealScale, 5).constBits());
        };
    };
    add("drop/ours", drop(&renderPiece));
    add("drop/straightforward", drop(&straightforwardPiece));
}

// ------------------------------------------------------------------ summary

class SummaryReporter : public benchmark::ConsoleReporter
{
public:
    explicit SummaryReporter(std::vector<std::string> scaleCases,
                             std::vector<std::string> rotateCases)
        : ConsoleReporter(isatty(fileno(stdout)) ? OO_Defaults : OO_Tabular),
          m_scaleCases(std::move(scaleCases)), m_rotateCases(std::move(rotateCases))
    {
    }

    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs)
            if (run.run_type == Run::RT_Iteration && !run.error_occurred)
                m_times[run.run_name.function_name].push_back(
                    run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit));
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\nRatios of CPU time (vector code: %s)\n", fast::vectorTargetName());
        group("rotate  ours / cv::warpAffine", m_rotateCases, "ours", "opencv",
              "geomean <= 0.35, each <= 0.5");
        group("scale   ours / cv::resize", m_scaleCases, "ours", "opencv",
              "geomean <= 0.65, each <= 0.8");
        pair("deal    ours / OpenCV deal", "deal/46 pieces/ours", "deal/46 pieces/opencv",
             "<= 0.35");
        pair("deal    ours / straightforward", "deal/46 pieces/ours",
             "deal/46 pieces/straightforward", "<= 0.167 (6x)");
        group("rotate  ours / straightforward", m_rotateCases, "ours", "straightforward", "");
        group("scale   ours / straightforward", m_scaleCases, "ours", "straightforward", "");
        group("rotate  portable / straightforward", m_rotateCases, "portable", "straightforward",
              "<= 0.75");
        group("scale   portable / straightforward", m_scaleCases, "portable", "straightforward",
              "<= 0.75");
        pair("deal    portable / straightforward", "deal/46 pieces/portable",
             "deal/46 pieces/straightforward", "<= 0.75");
        pair("wheel   ours / straightforward", "wheel notch/ours", "wheel notch/straightforward",
             "");
        pair("drop    ours / straightforward", "drop/ours", "drop/straightforward", "");
        if (!std::isnan(seconds("wheel notch/ours")))
            std::printf("wheel notch %.1f us, drop %.1f us, deal %.3f ms\n",
                        seconds("wheel notch/ours") * 1e6, seconds("drop/ours") * 1e6,
                        seconds("deal/46 pieces/ours") * 1e3);
    }

private:
    double seconds(const std::string &name) const
    {
        const auto it = m_times.find(name);
        if (it == m_times.end() || it->second.empty())
            return NAN;
        std::vector<double> v = it->second;
        std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
        return v[v.size() / 2];
    }

    void pair(const char *label, const std::string &a, const std::string &b, const char *goal) const
    {
        const double r = seconds(a) / seconds(b);
        if (std::isnan(r))
            return;
        std::printf("%-38s %6.3f  (%.1fx)%s%s\n", label, r, 1.0 / r, *goal ? "   goal " : "", goal);
    }

    void group(const char *label, const std::vector<std::string> &cases, const char *a,
               const char *b, const char *goal) const
    {
        double logSum = 0;
        double worst = 0;
        std::string worstCase;
        int count = 0;
        for (const std::string &c : cases) {
            const double r = seconds(c + "/" + a) / seconds(c + "/" + b);
            if (std::isnan(r))
                continue;
            logSum += std::log(r);
            ++count;
            if (r > worst) {
                worst = r;
                worstCase = c;
            }
        }
        if (count == 0)
            return;
        std::printf("%-38s %6.3f  geomean of %d, worst %.3f (%s)%s%s\n", label,
                    std::exp(logSum / count), count, worst, worstCase.c_str(),
                    *goal ? "   goal " : "", goal);
    }

    std::vector<std::string> m_scaleCases, m_rotateCases;
    std::map<std::string, std::vector<double>> m_times;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
#ifdef QUELDO_BENCH_OPENCV
    cv::setNumThreads(1);
#endif
    QTemporaryDir images;
    std::vector<std::string> scaleCases, rotateCases;
    registerRotate(rotateCases);
    registerScale(scaleCases);
    registerDeal();
    registerWheelAndDrop(images.path());
    SummaryReporter reporter(scaleCases, rotateCases);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
