#pragma once

// Weights in kilograms from dimensions in millimetres (areas in square millimetres) and a
// density in t/m³. Each formula runs one double operation at a time in its written order.
namespace tarnwick {

// Plate from length, width and thickness.
double plateByDimensions(double density, double length, double width, double thickness);

// Plate from area and thickness.
double plateByArea(double density, double area, double thickness);

// Solid round bar from diameter and length.
double roundBar(double density, double diameter, double length);

// Pipe from outer and inner diameter and length.
double pipeByInnerDiameter(double density, double outer, double inner, double length);

// Pipe from outer diameter, wall thickness and length.
double pipeByWall(double density, double outer, double wall, double length);

} // namespace tarnwick
