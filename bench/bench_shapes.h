// The twelve stamp shapes by the names the benchmark reports give them.
#pragma once
#include "item/stamp_shapes.h"

struct BenchShape {
    int number;
    const char *name;
};

const BenchShape kShapeList[12] = {
    {SHAPE_STAR_S, "star S"},          {SHAPE_STAR_L, "star L"},
    {SHAPE_HEART_S, "heart S"},        {SHAPE_HEART_L, "heart L"},
    {SHAPE_CIRCLE_FILLED_S, "circle S"}, {SHAPE_CIRCLE_FILLED_L, "circle L"},
    {SHAPE_CIRCLE_OUTLINE_S, "circle outline S"}, {SHAPE_CIRCLE_OUTLINE_L, "circle outline L"},
    {SHAPE_SQUARE_FILLED_S, "square S"}, {SHAPE_SQUARE_FILLED_L, "square L"},
    {SHAPE_SQUARE_OUTLINE_S, "square outline S"}, {SHAPE_SQUARE_OUTLINE_L, "square outline L"},
};
