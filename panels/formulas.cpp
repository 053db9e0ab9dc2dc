#include "panels/formulas.h"

// Every step is its own rounded double operation, in the order written, so that the weights
// match to the last bit the ones people already have on paper and in older tables.
namespace tarnwick {

namespace {
constexpr double pi = 3.1416;
}

double plateByDimensions(double density, double length, double width, double thickness)
{
    const double a = length / 1000;
    const double b = width / 1000;
    const double c = a * b;
    const double d = thickness / 1000;
    const double e = c * d;
    const double f = e * density;
    return f * 1000;
}

double plateByArea(double density, double area, double thickness)
{
    const double a = area / 1000000;
    const double b = thickness / 1000;
    const double c = a * b;
    const double d = c * density;
    return d * 1000;
}

double roundBar(double density, double diameter, double length)
{
    const double r = diameter / 2000;
    const double s = r * r;
    const double a = pi * s;
    const double l = length / 1000;
    const double v = a * l;
    const double m = v * density;
    return m * 1000;
}

double pipeByInnerDiameter(double density, double outer, double inner, double length)
{
    const double k = density * 1000;
    const double c = k * pi;
    const double ro = outer / 2000;
    const double a = ro * ro;
    const double ri = inner / 2000;
    const double b = ri * ri;
    const double s = a - b;
    const double x = c * s;
    const double l = length / 1000;
    return x * l;
}

double pipeByWall(double density, double outer, double wall, double length)
{
    const double tt = wall * 2;
    const double e = outer - tt;
    const double lc = length / 10;
    const double p = pi * lc;
    const double dd = outer / 10;
    const double a = dd * dd;
    const double ee = e / 10;
    const double b = ee * ee;
    const double s = a - b;
    const double x = p * s;
    const double v = x / 4;
    const double y = v * density;
    return y / 1000;
}

} // namespace tarnwick
