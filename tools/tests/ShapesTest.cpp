#include "datagen/Shapes.hpp"

#include <gtest/gtest.h>

using namespace datagen;

TEST(ShapeDistance, IsNegativeInsideAndPositiveOutside)
{
    const Ellipse e({10, 10}, 5, 3);
    EXPECT_LT(e.distance({10, 10}), 0);
    EXPECT_GT(e.distance({10, 14}), 0);
    EXPECT_LT(e.distance({14, 10}), 0);
    const Capsule rod({0, 0}, {10, 0}, 2, 2);
    EXPECT_NEAR(rod.distance({5, 3}), 1.0, 1e-9);
    EXPECT_NEAR(rod.distance({-3, 0}), 1.0, 1e-9);
    const Polygon square({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    EXPECT_NEAR(square.distance({5, 2}), -2.0, 1e-9);
    EXPECT_NEAR(square.distance({13, 5}), 3.0, 1e-9);
}

TEST(ShapeDrawing, PaintsOnlyInsideWithTheOutlineAtTheEdge)
{
    Canvas c(20, 20);
    Paint p = paint(Rgb{200, 100, 50}, 1.5);
    draw(c, Polygon({{2, 2}, {18, 2}, {18, 18}, {2, 18}}), p);
    EXPECT_TRUE(c.isClear(0, 0));
    EXPECT_TRUE(c.isClear(19, 10));
    EXPECT_EQ(c.at(2, 10), p.line);
    EXPECT_NE(c.at(10, 10), p.line);
    EXPECT_FALSE(c.isClear(10, 10));
}

TEST(ShapeDrawing, SilhouetteOutlineRingsTheDrawnArea)
{
    Canvas c(5, 5);
    c.set(2, 2, Rgb{1, 1, 1});
    outlineSilhouette(c, Rgb{9, 9, 9});
    EXPECT_EQ(c.at(1, 2), (Rgb{9, 9, 9}));
    EXPECT_EQ(c.at(2, 3), (Rgb{9, 9, 9}));
    EXPECT_TRUE(c.isClear(1, 1));
    EXPECT_EQ(c.at(2, 2), (Rgb{1, 1, 1}));
}

TEST(Noise, PeriodicNoiseJoinsAcrossItsPeriod)
{
    for (double y : {0.3, 2.7, 5.5})
        for (double x : {0.0, 0.25, 3.9})
            EXPECT_DOUBLE_EQ(valueNoise(x, y, 7, 8), valueNoise(x + 8, y, 7, 8));
}
