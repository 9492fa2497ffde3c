#pragma once

#include <QList>
#include <QtGlobal>

#include <random>

namespace orvanel {

// The program's one generator of r in [0, 1). Picking 1..n is always Int(r * n) + 1.
class Random {
public:
    virtual ~Random() = default;
    virtual double Next() = 0;
    virtual void Seed(quint32 seed) = 0;
    // Int(Next() * n) + 1.
    int Pick(int n) { return int(Next() * n) + 1; }
};

class SystemRandom final : public Random {
public:
    explicit SystemRandom(quint32 seed = 1) : engine_(seed) {}
    double Next() override;
    void Seed(quint32 seed) override { engine_.seed(seed); }

private:
    std::mt19937 engine_;
};

// Hands out the values it was given, in order; then falls back to a seeded generator.
class ScriptedRandom final : public Random {
public:
    explicit ScriptedRandom(QList<double> values = {}, quint32 seed = 1)
        : values_(std::move(values)), fallback_(seed) {}
    void Push(double r) { values_.append(r); }
    void Push(std::initializer_list<double> rs) {
        for (double r : rs)
            values_.append(r);
    }
    qsizetype Remaining() const { return values_.size(); }
    double Next() override {
        if (!values_.isEmpty()) return values_.takeFirst();
        return fallback_.Next();
    }
    void Seed(quint32 seed) override { fallback_.Seed(seed); }

private:
    QList<double> values_;
    SystemRandom fallback_;
};

} // namespace orvanel
