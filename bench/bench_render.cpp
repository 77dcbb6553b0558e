// Piece rendering against its peers, in one run on the same inputs, on grey pictures and on
// colour ones (blue, green and red differing):
//   ours            the program's routines (vector code chosen for this processor)
//   portable        the same routines held to their portable code
//   straightforward the oracle of the tests, pixel by pixel, and the plain palette reduction
//   opencv          cv::resize and cv::warpAffine (bilinear, white border), single-threaded
// A deal is drawn by OpenCV in two ways: "opencv" takes the program's own grey test on the
// source and its reduction, as ours does, and draws grey sources on one plane straight into the
// 8-bit picture; "opencv split" decides grey with OpenCV's tools on every finished piece
// (split, two compares, two counts) and copies, as the first comparison did.
// The ratio lines follow the table (see bench/CMakeLists.txt); scripts/bench.sh runs this with
// repetitions and gathers them.

#include "RatioTable.h"

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

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

using namespace queldo;
using queldo::bench::Goal;

namespace {

enum class Pixels { Grey, Colour };
const Pixels formats[] = {Pixels::Grey, Pixels::Colour};

std::string nameOf(Pixels p)
{
    return p == Pixels::Grey ? "grey" : "colour";
}

// Bands on a white rim, as a chromosome picture: grey, or stained so that blue, green and red
// differ in every band.
Bgr24Image chromosome(int w, int h, quint32 seed, Pixels pixels)
{
    QRandomGenerator random(seed);
    Bgr24Image image(w, h);
    for (int y = 3; y < h - 3; ++y)
        for (int x = 3; x < w - 3; ++x) {
            auto *p = image.row(y) + 3 * x;
            const int v = random.bounded(40, 230);
            p[0] = p[1] = p[2] = std::uint8_t(v);
            if (pixels == Pixels::Colour) {
                p[1] = std::uint8_t(v * 3 / 4);
                p[2] = std::uint8_t(std::min(255, v + 20));
            }
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
// to its source position. A destination of the right size and type is written in place.
void openCvRotateInto(const cv::Mat &src, float angle, cv::Mat &dst)
{
    const QSize size = rotatedSize(src.cols, src.rows, angle);
    const double halfW = (size.width() + 1) / 2, halfH = (size.height() + 1) / 2;
    const double t = double(angle) * 3.141592653589793 / 180.0, c = std::cos(t), s = std::sin(t);
    const cv::Matx23d m(c, -s, src.cols / 2 - c * halfW + s * halfH, s, c,
                        src.rows / 2 - s * halfW - c * halfH);
    cv::warpAffine(src, dst, m, cv::Size(size.width(), size.height()),
                   cv::INTER_LINEAR | cv::WARP_INVERSE_MAP, cv::BORDER_CONSTANT,
                   cv::Scalar(255, 255, 255));
}

cv::Mat openCvRotate(const cv::Mat &src, float angle)
{
    cv::Mat dst;
    openCvRotateInto(src, angle, dst);
    return dst;
}

// The reduction with OpenCV's own tools on every finished piece: a grey picture is its blue
// plane under the grey palette.
QImage openCvSplitReduce(const cv::Mat &image)
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

QImage openCvSplitPiece(const Bgr24Image &source, float scale, int step)
{
    return openCvSplitReduce(openCvRotate(openCvScale(wrap(source), scale), float(step) * 15.0f));
}

// Ours' own shortcut with OpenCV doing the resampling: one grey test on the source; a grey
// source is scaled and turned on its blue plane, the turn written straight into the 8-bit
// picture; a colour one on blue, green, red, then the program's reduction, which looks at the
// finished piece (a coloured rim may be cut off).
QImage openCvPiece(const Bgr24Image &source, float scale, int step)
{
    const float angle = float(step) * 15.0f;
    thread_local std::vector<std::uint8_t> plane;
    const std::size_t pixels = std::size_t(source.width) * std::size_t(source.height);
    plane.resize(pixels + fast::PlanePadding);
    if (fast::greyPlane(source.bytes.data(), pixels, plane.data(), false)) {
        const cv::Mat scaled =
            openCvScale(cv::Mat(source.height, source.width, CV_8UC1, plane.data()), scale);
        QImage out(rotatedSize(scaled.cols, scaled.rows, angle), QImage::Format_Indexed8);
        out.setColorTable(greyPiecePalette());
        cv::Mat turned(out.height(), out.width(), CV_8UC1, out.bits(), out.bytesPerLine());
        openCvRotateInto(scaled, angle, turned);
        return out;
    }
    const cv::Mat scaled = openCvScale(wrap(source), scale);
    const QSize size = rotatedSize(scaled.cols, scaled.rows, angle);
    Bgr24Image turned(size.width(), size.height());
    cv::Mat target = wrap(turned);
    openCvRotateInto(scaled, angle, target);
    return reduceToIndexed8(turned);
}

// ------------------------------------------------------------------ cases

struct Size
{
    int w, h;
};
const Size sizes[] = {{20, 40}, {30, 80}, {40, 120}, {60, 180}, {80, 250}};
const float factors[] = {0.5f, 0.63f, 0.8f, 1.0f, 1.3f};
const int angles[] = {15, 45, 90, 135, 240, 330};

// A cell of 46 pictures, tallest first, each pair alike.
std::vector<Bgr24Image> cell(Pixels pixels)
{
    std::vector<Bgr24Image> sources;
    for (int n = 0; n < PieceCount; ++n)
        sources.push_back(chromosome(80 - (n / 2) * 2, 250 - (n / 2) * 9, quint32(n), pixels));
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
void add(const std::string &name, Fn fn, benchmark::TimeUnit unit = benchmark::kMicrosecond,
         bool portable = false)
{
    benchmark::RegisterBenchmark(name.c_str(),
                                 [fn, portable](benchmark::State &state) mutable {
                                     PortableScope scope(portable);
                                     for (auto _ : state)
                                         fn();
                                 })
        ->Unit(unit)
        ->MinTime(0.1);
}

template <class Fn>
void addPortable(const std::string &name, Fn fn, benchmark::TimeUnit unit = benchmark::kMicrosecond)
{
    add(name, fn, unit, true);
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

quint32 seedOf(Size s)
{
    return quint32(s.w * 1000 + s.h);
}

std::vector<std::string> registerScale(Pixels pixels)
{
    std::vector<std::string> cases;
    for (Size s : sizes)
        for (float f : factors) {
            const std::string c =
                "scale/" + nameOf(pixels) + "/" + sizeName(s) + "/x" + factorName(f);
            cases.push_back(c);
            const Bgr24Image src = chromosome(s.w, s.h, seedOf(s), pixels);
            add(c + "/ours",
                [src, f] { benchmark::DoNotOptimize(ScaleChromosomeBitmap(src, f).bytes.data()); });
            add(c + "/opencv",
                [src, f] { benchmark::DoNotOptimize(openCvScale(wrap(src), f).data); });
            add(c + "/straightforward",
                [src, f] { benchmark::DoNotOptimize(test::referenceScale(src, f).bytes.data()); });
            addPortable(c + "/portable", [src, f] {
                benchmark::DoNotOptimize(ScaleChromosomeBitmap(src, f).bytes.data());
            });
        }
    return cases;
}

std::vector<std::string> registerRotate(Pixels pixels)
{
    std::vector<std::string> cases;
    for (Size s : sizes)
        for (int a : angles) {
            const std::string c =
                "rotate/" + nameOf(pixels) + "/" + sizeName(s) + "/" + std::to_string(a);
            cases.push_back(c);
            const Bgr24Image src = chromosome(s.w, s.h, seedOf(s), pixels);
            const float angle = float(a);
            add(c + "/ours", [src, angle] {
                benchmark::DoNotOptimize(RotateChromosomeBitmap(src, angle).bytes.data());
            });
            add(c + "/opencv",
                [src, angle] { benchmark::DoNotOptimize(openCvRotate(wrap(src), angle).data); });
            add(c + "/straightforward", [src, angle] {
                benchmark::DoNotOptimize(test::referenceRotate(src, angle).bytes.data());
            });
            addPortable(c + "/portable", [src, angle] {
                benchmark::DoNotOptimize(RotateChromosomeBitmap(src, angle).bytes.data());
            });
        }
    return cases;
}

using PieceFunction = QImage (*)(const Bgr24Image &, float, int);

void registerDeal(Pixels pixels)
{
    const std::vector<Bgr24Image> sources = cell(pixels);
    const std::vector<int> steps = dealSteps();
    auto deal = [sources, steps](PieceFunction piece) {
        return [sources, steps, piece] {
            for (int n = 0; n < PieceCount; ++n)
                benchmark::DoNotOptimize(piece(sources[n], DealScale, steps[n]).constBits());
        };
    };
    const std::string prefix = "deal/" + nameOf(pixels) + "/";
    add(prefix + "ours", deal(&renderPiece), benchmark::kMillisecond);
    add(prefix + "opencv", deal(&openCvPiece), benchmark::kMillisecond);
    add(prefix + "opencv split", deal(&openCvSplitPiece), benchmark::kMillisecond);
    add(prefix + "straightforward", deal(&straightforwardPiece), benchmark::kMillisecond);
    addPortable(prefix + "portable", deal(&renderPiece), benchmark::kMillisecond);

    // The program's own deal: the same rendering plus turning at random and scattering.
    benchmark::RegisterBenchmark(
        (prefix + "DealPieces").c_str(),
        [sources](benchmark::State &state) {
            SourceBitmaps cellArray;
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

void registerWheelAndDrop(Pixels pixels, const QString &imagesFolder)
{
    const Bgr24Image source = chromosome(50, 200, 1, pixels);
    auto notch = [source](PieceFunction piece) {
        return [source, piece, step = 0]() mutable {
            step = (step + 1) % 24;
            benchmark::DoNotOptimize(piece(source, DealScale, step).constBits());
        };
    };
    add("wheel notch/" + nameOf(pixels) + "/ours", notch(&renderPiece));
    add("wheel notch/" + nameOf(pixels) + "/straightforward", notch(&straightforwardPiece));

    // A drop reads the piece's bitmap afresh and draws it.
    const QDir folder(imagesFolder);
    const QString problem = QString::fromStdString(nameOf(pixels));
    QDir().mkpath(folder.filePath(problem));
    source.toQImage().save(folder.filePath(problem + QLatin1Char('/') + bitmapFileName(0)), "BMP");
    auto drop = [folder, problem](PieceFunction piece) {
        return [folder, problem, piece] {
            const BitmapDecodeResult loaded = reloadSourceBitmap(folder, problem, 0);
            benchmark::DoNotOptimize(piece(loaded.image, DealScale, 5).constBits());
        };
    };
    add("drop/" + nameOf(pixels) + "/ours", drop(&renderPiece));
    add("drop/" + nameOf(pixels) + "/straightforward", drop(&straightforwardPiece));
}

// ------------------------------------------------------------------ ratios

struct Cases
{
    std::vector<std::string> rotate, scale;
};

void printRatios(const bench::MedianReporter &times, const std::map<Pixels, Cases> &cases)
{
    bench::RatioTable table(times);
    for (Pixels pixels : formats) {
        const std::string data = nameOf(pixels);
        const Cases &c = cases.at(pixels);
        // On grey pictures no case may come near OpenCV; on colour ones none may be slower.
        const double rotateEach = pixels == Pixels::Grey ? 0.5 : 1.0;
        const double scaleEach = pixels == Pixels::Grey ? 0.8 : 1.0;
        table.group("rotate", data, c.rotate, "ours", "opencv", {0.35, rotateEach});
        table.group("scale", data, c.scale, "ours", "opencv", {0.65, scaleEach});
        const std::string deal = "deal/" + data;
        table.pair("deal of 46", data, deal, "ours", "opencv", {0.35, NAN});
        table.pair("deal of 46", data, deal, "ours", "opencv split", {0.35, NAN});
        // The goals against the plain code were set for grey pictures; on colour ones the ratios
        // are shown for comparison.
        const Goal plain = pixels == Pixels::Grey ? Goal{0.75, NAN} : Goal{};
        table.pair("deal of 46", data, deal, "ours", "straightforward",
                   pixels == Pixels::Grey ? Goal{1.0 / 6.0, NAN} : Goal{});
        table.group("rotate", data, c.rotate, "ours", "straightforward");
        table.group("scale", data, c.scale, "ours", "straightforward");
        table.group("rotate", data, c.rotate, "portable", "straightforward", plain);
        table.group("scale", data, c.scale, "portable", "straightforward", plain);
        table.pair("deal of 46", data, deal, "portable", "straightforward", plain);
        table.pair("wheel notch", data, "wheel notch/" + data, "ours", "straightforward");
        table.pair("drop", data, "drop/" + data, "ours", "straightforward");
    }
    char text[160];
    std::snprintf(text, sizeof text,
                  "render: vector code picked at run time: %s; medians of %d repetitions",
                  fast::vectorTargetName(), times.repetitions());
    table.info(text);
    for (Pixels pixels : formats) {
        const std::string data = nameOf(pixels);
        const double wheel = times.seconds("wheel notch/" + data + "/ours");
        if (std::isnan(wheel))
            continue;
        std::snprintf(text, sizeof text,
                      "render %s: wheel notch %.1f us, drop %.1f us, deal of 46 %.3f ms",
                      data.c_str(), wheel * 1e6, times.seconds("drop/" + data + "/ours") * 1e6,
                      times.seconds("deal/" + data + "/ours") * 1e3);
        table.info(text);
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    cv::setNumThreads(1);
    QTemporaryDir images;
    std::map<Pixels, Cases> cases;
    for (Pixels pixels : formats) {
        cases[pixels].rotate = registerRotate(pixels);
        cases[pixels].scale = registerScale(pixels);
        registerDeal(pixels);
        registerWheelAndDrop(pixels, images.path());
    }
    bench::MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    printRatios(reporter, cases);
    return 0;
}
