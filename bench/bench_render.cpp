#include "board/BoardState.h"
#include "board/ChromosomeBitmapOps.h"

#include <QRandomGenerator>

#include <benchmark/benchmark.h>

using namespace queldo;

namespace {

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

class FixedRandom : public PieceRandom
{
public:
    int bounded(int low, int high) override { return int(m_generator.bounded(low, high)); }
    QRandomGenerator m_generator{7};
};

std::array<Bgr24Image, PieceCount> cell()
{
    std::array<Bgr24Image, PieceCount> sources;
    for (int n = 0; n < PieceCount; ++n)
        sources[n] = chromosome(40, 200 - (n / 2) * 6, quint32(n));
    return sources;
}

void BM_DealPieces(benchmark::State &state)
{
    const auto sources = cell();
    FixedRandom random;
    BoardState board;
    for (auto _ : state) {
        DealPieces(board, sources, 0.63f, QSize(780, 360), random);
        benchmark::DoNotOptimize(board.piecePicture[0].constBits());
    }
}
BENCHMARK(BM_DealPieces)->Unit(benchmark::kMillisecond);

void BM_WheelNotch(benchmark::State &state)
{
    const Bgr24Image source = chromosome(40, 200, 1);
    int step = 0;
    for (auto _ : state) {
        step = (step + 1) % 24;
        benchmark::DoNotOptimize(renderPiece(source, 0.63f, step).constBits());
    }
}
BENCHMARK(BM_WheelNotch)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
