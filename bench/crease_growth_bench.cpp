// How the crease transfer grows, N doubling (a growth of 2 per doubling is
// linear time, 4 quadratic):
// - every group in turn: N/2 groups of two quads each, side by side in one
//   strip, each group creased once, as a script that creases each group
//   does; the time of all the calls;
// - one small group beside N faces: the mean time of one call creasing a
//   group of two quads while the model holds N faces elsewhere, which
//   should not grow at all; the same for a smoothing group of two quads;
// - crowded edges: K² triangles (A_i, B_j, C_ij) in the group creased and
//   K² more (B_j, A_i, D_ij) in another, so that every edge A_i-B_j joins
//   two vertices of 2K faces each and has one outside neighbour; N = 2K²;
// - beside it a grid of N quads, half of it creased (the baseline).
// Each figure is the median of the rounds with its range; each round makes
// its model afresh and builds the model's indexes before the clock starts.
// Usage: crease_growth_bench [rounds] [largest N]
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "frame/exports.h"
#include "support/module_reset.h"
#include "obj/current_model.h"
#include "obj/model/obj_model.h"
#include "support/test_models.h"
#include "substitute_host/substitute_host.h"

#include "median.h"

namespace {

using namespace tollgram;
using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

obj::FaceValue faceOf(std::initializer_list<int32_t> corners) {
    obj::FaceValue face;
    for (const int32_t v : corners) face._vertexIndices[face._cornerCount++] = v;
    return face;
}

std::unique_ptr<obj::OBJModel> withVertices(int64_t count) {
    auto model = std::make_unique<obj::OBJModel>();
    for (int64_t v = 0; v < count; ++v) model->_vertices.append(obj::Vec3{float(v % 1000), float(v / 1000), 0});
    return model;
}

// A strip two quads high and `columns` long; column pair c is group "gc",
// and smoothing group c + 1 for the first 256 pairs. extra faces more, in
// one further group and no smoothing group, beside the strip.
std::unique_ptr<obj::OBJModel> strip(int32_t columns, int32_t extra) {
    const int32_t width = columns + 1;
    auto model = withVertices(3 * int64_t(width) + 2 * int64_t(extra) + 2);
    for (int32_t c = 0; c < columns; ++c) {
        const std::string group = std::string("g").append(std::to_string(c / 2));
        const auto smoothing = uint32_t(c / 2 + 1);
        if (smoothing <= obj::kMaxSmoothingGroups) model->_smoothingGroups[smoothing - 1] = smoothing;
        for (int32_t row = 0; row < 2; ++row) {
            const int32_t v = row * width + c;
            obj::FaceValue face = faceOf({v, v + 1, v + width + 1, v + width});
            face._smoothingGroup = smoothing <= obj::kMaxSmoothingGroups ? smoothing : 0;
            test::listFace(*model, face, {group.c_str()});
        }
    }
    model->_smoothingGroupCount = std::min<uint32_t>(uint32_t(columns + 1) / 2, obj::kMaxSmoothingGroups);
    // The faces elsewhere: a ribbon of quads sharing no vertex with the strip.
    const int32_t base = 3 * width;
    for (int32_t i = 0; i < extra; ++i) {
        const int32_t v = base + 2 * i;
        test::listFace(*model, faceOf({v, v + 2, v + 3, v + 1}), {"elsewhere"});
    }
    return model;
}

// K² triangles (A_i, B_j, C_ij) in "chosen", and (B_j, A_i, D_ij) in "other".
std::unique_ptr<obj::OBJModel> crowded(int32_t k) {
    const int64_t kk = int64_t(k) * k;
    auto model = withVertices(2 * int64_t(k) + 2 * kk);
    auto a = [&](int32_t i) { return i; };
    auto b = [&](int32_t j) { return k + j; };
    const int32_t c = 2 * k;
    const int32_t d = int32_t(2 * k + kk);
    for (int32_t i = 0; i < k; ++i) {
        for (int32_t j = 0; j < k; ++j) test::listFace(*model, faceOf({a(i), b(j), c + i * k + j}), {"chosen"});
    }
    for (int32_t i = 0; i < k; ++i) {
        for (int32_t j = 0; j < k; ++j) test::listFace(*model, faceOf({b(j), a(i), d + i * k + j}), {"other"});
    }
    return model;
}

// columns × rows quads, the first half of the columns in "part".
std::unique_ptr<obj::OBJModel> grid(int32_t columns, int32_t rows) {
    auto model = withVertices(int64_t(columns + 1) * (rows + 1));
    for (int32_t y = 0; y < rows; ++y) {
        for (int32_t x = 0; x < columns; ++x) {
            const int32_t v = y * (columns + 1) + x;
            test::listFace(*model, faceOf({v, v + 1, v + columns + 2, v + columns + 1}),
                           {x < columns / 2 ? "part" : "rest"});
        }
    }
    return model;
}

struct Installed {
    substitute::SubstituteHost host;
    explicit Installed(std::unique_ptr<obj::OBJModel> model) {
        delete obj::objState().currentModel;
        obj::objState().currentModel = model.release();
        const obj::OBJModel& current = *obj::objState().currentModel;
        host.setMesh(int32_t(current._vertices._count), int32_t(current._faces._count));
        // The indexes are built by the first crease, of the last group: not timed.
        crease(double(current._groupNames.size()));
    }
    ~Installed() {
        delete obj::objState().currentModel;
        obj::objState().currentModel = nullptr;
    }
    float crease(double group) { return SetMesh3DFromOBJGroup("crease", group, nullptr, 0, 0, 0, host.context()); }
    float creaseSmoothing(double position) {
        return SetMesh3DFromOBJSmoothGroup("crease", position, nullptr, 0, 0, 0, host.context());
    }
};

struct Figure {
    double median = 0, least = 0, most = 0;
    double result = 0;
};

template <typename Round>
Figure measure(int rounds, Round round) {
    std::vector<double> seconds;
    Figure figure;
    for (int r = 0; r < rounds; ++r) seconds.push_back(round(figure.result));
    figure.median = bench::median(seconds);
    figure.least = *std::min_element(seconds.begin(), seconds.end());
    figure.most = *std::max_element(seconds.begin(), seconds.end());
    return figure;
}

void report(const char* name, int64_t n, const Figure& figure, double& previous, const char* unit, double scale) {
    std::printf("  %-44s N = %7lld  %10.4f %s (%.4f to %.4f)  result %g", name, static_cast<long long>(n),
                figure.median * scale, unit, figure.least * scale, figure.most * scale, figure.result);
    if (previous > 0) std::printf("  x%.2f", figure.median / previous);
    std::printf("\n");
    previous = figure.median;
}

// The mean time of one crease of a small group, `calls` groups in turn,
// while the model holds N faces elsewhere; N from 0, then 40,000 doubling.
void smallChoiceSeries(const char* name, int calls, float (Installed::*crease)(double), int rounds, int64_t largest) {
    double previous = 0;
    for (int64_t n = 0; n <= largest; n = n == 0 ? 40000 : 2 * n) {
        const Figure figure = measure(rounds, [&](double& result) {
            Installed model(strip(2 * calls, int32_t(n)));
            (model.*crease)(1);  // any index of its own built: not timed
            const Clock::time_point start = Clock::now();
            double total = 0;
            for (int call = 1; call <= calls; ++call) total += (model.*crease)(double(call));
            const double seconds = secondsSince(start) / calls;
            result = total;
            return seconds;
        });
        report(name, n, figure, previous, "us", 1e6);
        if (n == 0) previous = 0;  // growth from the first N faces on
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 5;
    const int64_t largest = argc > 2 ? std::atoll(argv[2]) : 640000;
    std::printf("crease growth: median of %d rounds (range), growth of the median when N doubles\n", rounds);

    double previous = 0;
    for (int64_t n = 20000; n <= largest / 2; n *= 2) {
        const Figure figure = measure(rounds, [&](double& result) {
            Installed model(strip(int32_t(n), 0));
            const auto groups = double(obj::objState().currentModel->_groupNames.size());
            const Clock::time_point start = Clock::now();
            double total = 0;
            for (double g = 1; g <= groups; ++g) total += model.crease(g);
            const double seconds = secondsSince(start);
            result = total;
            return seconds;
        });
        report("every group of 2 quads in turn, all calls", n, figure, previous, "s ", 1.0);
    }

    smallChoiceSeries("one 2-quad group beside N faces, one call", 3000, &Installed::crease, rounds, largest);
    smallChoiceSeries("one 2-quad smoothing group beside N faces", 200, &Installed::creaseSmoothing, rounds, largest);

    previous = 0;
    for (int64_t n = 40000; n <= largest; n *= 2) {
        const auto k = int32_t(std::lround(std::sqrt(double(n) / 2)));
        const Figure figure = measure(rounds, [&](double& result) {
            Installed model(crowded(k));
            const Clock::time_point start = Clock::now();
            result = model.crease(1);
            return secondsSince(start);
        });
        report("crowded edges, 2K^2 triangles", 2 * int64_t(k) * k, figure, previous, "s ", 1.0);
    }

    previous = 0;
    for (int64_t n = 40000; n <= largest; n *= 2) {
        const Figure figure = measure(rounds, [&](double& result) {
            Installed model(grid(200, int32_t(n / 200)));
            const Clock::time_point start = Clock::now();
            result = model.crease(1);
            return secondsSince(start);
        });
        report("grid of N quads, half creased (baseline)", n, figure, previous, "s ", 1.0);
    }
    return 0;
}
