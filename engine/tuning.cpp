#include "engine/tuning.h"

#include <algorithm>
#include <cmath>

namespace brindle::engine::tuning {

std::optional<Sample> sampleOf(const ShapeBoard& board, int32_t mover, double result)
{
    const int32_t waiting = 3 - mover;
    for (const int16_t cell : board.cells()) {
        if (board.stone(cell) != 0)
            continue;
        const uint8_t own = board.threat(mover, cell), theirs = board.threat(waiting, cell);
        if ((own & (MakesFive | MakesWin | MakesFourThree)) || (theirs & (MakesFive | MakesWin)))
            return std::nullopt;
    }
    return Sample{board.features(mover), board.features(waiting), result};
}

double evaluate(const Sample& sample, const Weights& mover, const Weights& waiting)
{
    double value = 0;
    for (size_t f = 0; f < mover.size(); ++f)
        value += mover[f] * sample.mover[f] - waiting[f] * sample.waiting[f];
    return value;
}

namespace {

double sigmoid(double x)
{
    return 1 / (1 + std::exp(-x));
}

} // namespace

double loss(const std::vector<Sample>& samples, const Weights& mover, const Weights& waiting, double scale)
{
    if (samples.empty())
        return 0;
    double sum = 0;
    for (const Sample& s : samples) {
        const double p = std::clamp(sigmoid(evaluate(s, mover, waiting) / scale), 1e-12, 1 - 1e-12);
        sum -= s.result * std::log(p) + (1 - s.result) * std::log(1 - p);
    }
    return sum / static_cast<double>(samples.size());
}

double fitScale(const std::vector<Sample>& samples, const Weights& mover, const Weights& waiting)
{
    // The loss is searched over the scale's logarithm, by golden sections.
    double lo = 0, hi = std::log(1e6);
    const double g = (std::sqrt(5.0) - 1) / 2;
    for (int32_t i = 0; i < 80; ++i) {
        const double a = hi - g * (hi - lo), b = lo + g * (hi - lo);
        if (loss(samples, mover, waiting, std::exp(a)) <= loss(samples, mover, waiting, std::exp(b)))
            hi = b;
        else
            lo = a;
    }
    return std::exp((lo + hi) / 2);
}

Fit fit(const std::vector<Sample>& samples, const Weights& mover, const Weights& waiting, double scale,
        int32_t iterations)
{
    Fit out{mover, waiting, loss(samples, mover, waiting, scale), 0};
    constexpr size_t F = ShapeBoard::Features;
    // Adam over the 2F weights, in the evaluation's own units.
    std::array<double, 2 * F> m{}, v{};
    std::array<bool, 2 * F> seen{};
    for (const Sample& s : samples)
        for (size_t f = 0; f < F; ++f)
            seen[f] = seen[f] || s.mover[f] != 0, seen[F + f] = seen[F + f] || s.waiting[f] != 0;
    const double rate = 1.0, beta1 = 0.9, beta2 = 0.999;
    for (int32_t t = 1; t <= iterations && !samples.empty(); ++t) {
        std::array<double, 2 * F> grad{};
        for (const Sample& s : samples) {
            const double err = sigmoid(evaluate(s, out.mover, out.waiting) / scale) - s.result;
            for (size_t f = 0; f < F; ++f)
                grad[f] += err * s.mover[f], grad[F + f] -= err * s.waiting[f];
        }
        for (size_t i = 0; i < 2 * F; ++i) {
            if (!seen[i])
                continue;
            const double g = grad[i] / (scale * static_cast<double>(samples.size()));
            m[i] = beta1 * m[i] + (1 - beta1) * g;
            v[i] = beta2 * v[i] + (1 - beta2) * g * g;
            const double step = rate * (m[i] / (1 - std::pow(beta1, t))) / (std::sqrt(v[i] / (1 - std::pow(beta2, t))) + 1e-12);
            double& w = i < F ? out.mover[i] : out.waiting[i - F];
            w = std::max(0.0, w - step);
        }
    }
    out.lossAfter = loss(samples, out.mover, out.waiting, scale);
    return out;
}

std::string weightsSource(const Weights& mover, const Weights& waiting, const std::string& origin)
{
    const auto list = [](const Weights& w) {
        std::string text;
        for (size_t f = 0; f < w.size(); ++f) {
            text += f == 0 ? "" : ", ";
            text += std::to_string(std::lround(w[f]));
        }
        return text;
    };
    std::string text = "#pragma once\n";
    text += "// Master's evaluation weights, by feature (see ShapeBoard::features): what\n";
    text += "// each empty cell's shape is worth to the side to move and to the side\n";
    text += "// waiting. Written by brindle-tune: remake them with scripts/tune-eval.\n";
    text += "// " + origin + "\n\n";
    text += "#include <array>\n#include <cstdint>\n\nnamespace brindle::engine {\n\n";
    const std::string type = "std::array<int32_t, " + std::to_string(ShapeBoard::Features) + ">";
    text += "inline constexpr ";
    text += type;
    text += " MoverWeights = {";
    text += list(mover);
    text += "};\ninline constexpr ";
    text += type;
    text += " WaitingWeights = {";
    text += list(waiting);
    text += "};\n\n} // namespace brindle::engine\n";
    return text;
}

} // namespace brindle::engine::tuning
