#include "KNRenderCallbacks.h"
#include "Mesh.h"
#include "Shader.h"
#include "ViewTestSupport.h"

#include <epoxy/gl.h>
#include <gtest/gtest.h>

namespace {

class ParameterSpaceViewTest : public testing::Test {
protected:
    static constexpr int size = 400;

    void SetUp() override {
        showAndAwake(view, size, size);
        delegate->view = &view;
        view.setDelegate(delegate);
    }

    std::vector<float> pathVertices() { return readFloatBuffer(view.pathMesh->vertexBuffer); }
    std::vector<float> connectorVertices() {
        return readFloatBuffer(view.axesConnectorMesh->vertexBuffer);
    }

    TestParameterSpaceView view;
    std::shared_ptr<RecordingParameterDelegate> delegate =
        std::make_shared<RecordingParameterDelegate>();
};

TEST_F(ParameterSpaceViewTest, StartsWithBothHandlesAtTheOriginAndEmptyLines) {
    for (int axis = 0; axis < 3; ++axis) {
        EXPECT_EQ(view.minValueForAxis(axis), 0.0);
        EXPECT_EQ(view.maxValueForAxis(axis), 0.0);
    }
    ASSERT_EQ(view.scene->renderables.size(), 5u);
    EXPECT_EQ(view.scene->getRenderable(1), view.path.get());
    EXPECT_EQ(view.scene->getRenderable(2), view.axesConnectors.get());
    EXPECT_EQ(view.scene->getRenderable(3), view.minHandle.get());
    EXPECT_EQ(view.scene->getRenderable(4), view.maxHandle.get());
    EXPECT_EQ(view.pathMesh->getIndexCount(), 1);
    EXPECT_EQ(view.axesConnectorMesh->getIndexCount(), 1);
}

TEST_F(ParameterSpaceViewTest, SettersStoreTheValueOnTheirAxisOnly) {
    view.setStartValue(2.5, 1);
    EXPECT_EQ(view.minValueForAxis(1), 2.5);
    EXPECT_EQ(view.minValueForAxis(0), 0.0);
    EXPECT_EQ(view.maxValueForAxis(1), 0.0);
    const std::vector<float> line = pathVertices();
    ASSERT_EQ(line.size(), 12u);
    EXPECT_EQ((std::vector<float>(line.begin(), line.begin() + 3)),
              (std::vector<float>{0.0f, 2.5f, 0.0f}));
    EXPECT_EQ((std::vector<float>(line.begin() + 6, line.begin() + 9)),
              (std::vector<float>{0.0f, 0.0f, 0.0f}));

    // There is no fourth axis: nothing changes, the getter answers 0.
    view.setEndValue(7.0, 3);
    view.setStartValue(7.0, -1);
    EXPECT_EQ(view.maxValueForAxis(3), 0.0);
    EXPECT_EQ(view.minValueForAxis(-1), 0.0);
    for (int axis = 0; axis < 3; ++axis) {
        EXPECT_EQ(view.maxValueForAxis(axis), 0.0);
    }
    EXPECT_EQ(view.minValueForAxis(1), 2.5);

    // Stored as given, far outside the axes too.
    view.setEndValue(28.0, 2);
    EXPECT_EQ(view.maxValueForAxis(2), 28.0);
}

TEST_F(ParameterSpaceViewTest, ValuesAreDoublesAndOnlyTheMeshesNarrowThem) {
    view.setStartValue(0.1, 0);
    EXPECT_EQ(view.minValueForAxis(0), 0.1);
    EXPECT_NE(static_cast<double>(static_cast<float>(0.1)), 0.1);
    EXPECT_EQ(pathVertices()[0], static_cast<float>(0.1));
    EXPECT_EQ(connectorVertices()[0], static_cast<float>(0.1));
}

TEST_F(ParameterSpaceViewTest, TheLineAndConnectorsFollowTheHandles) {
    const double start[3] = {1, 2, 3};
    const double end[3] = {4, 5, 6};
    for (int axis = 0; axis < 3; ++axis) {
        view.setStartValue(start[axis], axis);
        view.setEndValue(end[axis], axis);
    }
    EXPECT_EQ(pathVertices(), (std::vector<float>{1, 2, 3, 0, 0, 0, 4, 5, 6, 1, 1, 1}));
    EXPECT_EQ(readIndexBuffer(view.pathMesh->indexBuffer), (std::vector<unsigned>{0, 1}));

    const std::vector<float> vertices = connectorVertices();
    const std::vector<unsigned> indices = readIndexBuffer(view.axesConnectorMesh->indexBuffer);
    ASSERT_EQ(vertices.size(), 48u);
    ASSERT_EQ(indices.size(), 12u);
    std::vector<std::vector<float>> segments;
    for (std::size_t i = 0; i < indices.size(); i += 2) {
        std::vector<float> segment;
        for (unsigned vertex : {indices[i], indices[i + 1]}) {
            segment.insert(segment.end(), vertices.begin() + 6 * vertex,
                           vertices.begin() + 6 * vertex + 3);
            // Every connector vertex carries the white second triple.
            EXPECT_EQ((std::vector<float>(vertices.begin() + 6 * vertex + 3,
                                          vertices.begin() + 6 * vertex + 6)),
                      (std::vector<float>{1, 1, 1}));
        }
        segments.push_back(segment);
    }
    const std::vector<std::vector<float>> expected = {
        {1, 2, 3, 0, 2, 3}, {1, 2, 3, 1, 0, 3}, {1, 2, 3, 1, 2, 0},
        {4, 5, 6, 0, 5, 6}, {4, 5, 6, 4, 0, 6}, {4, 5, 6, 4, 5, 0},
    };
    EXPECT_EQ(segments, expected);
}

TEST_F(ParameterSpaceViewTest, SettingAValueTellsNobody) {
    view.setStartValue(1.0, 0);
    view.setEndValue(2.0, 2);
    view.updatePath();
    EXPECT_EQ(delegate->boundsChanges, 0);
}

TEST_F(ParameterSpaceViewTest, DraggingAHandleReportsEachMoveOnceWithTheLinesRebuilt) {
    view.setEndValue(3.0, 0);
    view.setEndValue(2.0, 1);
    view.redraw();
    const QPointF handle = projectToView(*view.scene, kinora::Vector3(3.0, 2.0, 0.0), size, size);

    pressAt(view, handle);
    ASSERT_EQ(view.selected, view.maxHandle.get());
    EXPECT_EQ(delegate->boundsChanges, 0);
    moveTo(view, handle + QPointF(40, 0));
    EXPECT_EQ(delegate->boundsChanges, 1);
    EXPECT_NEAR(view.maxValueForAxis(0), 4.0, 1e-5);
    EXPECT_NEAR(view.maxValueForAxis(1), 2.0, 1e-5);
    // The delegate already saw the rebuilt line.
    ASSERT_EQ(delegate->pathAtLastChange.size(), 12u);
    EXPECT_EQ(delegate->pathAtLastChange[6], static_cast<float>(view.maxValueForAxis(0)));
    moveTo(view, handle + QPointF(40, -20));
    moveTo(view, handle + QPointF(40, -40));
    releaseAt(view, handle + QPointF(40, -40));
    EXPECT_EQ(delegate->boundsChanges, 3);
    EXPECT_NEAR(view.maxValueForAxis(1), 1.0, 1e-5);
    // The start handle stayed where it was.
    EXPECT_EQ(view.minValueForAxis(0), 0.0);
}

TEST_F(ParameterSpaceViewTest, OnlyTheHandlesCanBeSelected) {
    view.redraw();
    // The line and the connectors are drawn but never picked.
    view.setStartValue(-3.0, 0);
    view.redraw();
    const QPointF onLine = projectToView(*view.scene, kinora::Vector3(-1.5, 0.0, 0.0), size, size);
    clickAt(view, onLine);
    EXPECT_EQ(view.selected, nullptr);
    const QPointF start = projectToView(*view.scene, kinora::Vector3(-3.0, 0.0, 0.0), size, size);
    clickAt(view, start);
    EXPECT_EQ(view.selected, view.minHandle.get());
}

TEST_F(ParameterSpaceViewTest, AGoneDelegateIsNoLongerTold) {
    view.setEndValue(2.0, 0);
    view.redraw();
    const QPointF handle = projectToView(*view.scene, kinora::Vector3(2.0, 0.0, 0.0), size, size);
    std::weak_ptr<RecordingParameterDelegate> watcher = delegate;
    delegate.reset();
    EXPECT_TRUE(watcher.expired());
    dragFromTo(view, handle, handle + QPointF(20, 0));
    EXPECT_NEAR(view.maxValueForAxis(0), 2.5, 1e-5);
}

} // namespace
