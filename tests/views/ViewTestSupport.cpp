#include "ViewTestSupport.h"

#include "Eventually.h"
#include "Framebuffer.h"
#include "GLBufferContents.h"
#include "Matrix4.h"
#include "Mesh.h"

#include <QCoreApplication>
#include <QTest>
#include <QWheelEvent>
#include <epoxy/gl.h>

namespace {
QPoint toWindow(const KNOpenGLView& view, QPointF point) {
    return QPoint(qRound(point.x()), qRound(view.height() - point.y()));
}

} // namespace

bool showAndWaitForExposure(KNOpenGLView& view, int width, int height) {
    view.resize(width, height);
    view.show();
    return QTest::qWaitForWindowExposed(&view, patienceMilliseconds);
}

void showAndAwake(KNOpenGLView& view, int width, int height) {
    if (!showAndWaitForExposure(view, width, height)) {
        qFatal("the test window was never exposed");
    }
    view.awakeFromNib();
    view.update();
    settle();
}

void settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

void resizeAndWait(KNOpenGLView& view, int width, int height) {
    // The window reports its new size at once; the resize event follows from the X server.
    struct ResizeWatcher : QObject {
        bool resized = false;
        bool eventFilter(QObject*, QEvent* event) override {
            resized = resized || event->type() == QEvent::Resize;
            return false;
        }
    } watcher;
    view.installEventFilter(&watcher);
    view.resize(width, height);
    const bool applied = eventually([&] { return watcher.resized; });
    view.removeEventFilter(&watcher);
    if (!applied) {
        qFatal("the window system did not resize the test window");
    }
    settle();
}

void pressAt(KNOpenGLView& view, QPointF point) {
    QTest::mousePress(&view, Qt::LeftButton, Qt::NoModifier, toWindow(view, point));
}

void moveTo(KNOpenGLView& view, QPointF point) {
    QTest::mouseMove(&view, toWindow(view, point));
}

void releaseAt(KNOpenGLView& view, QPointF point) {
    QTest::mouseRelease(&view, Qt::LeftButton, Qt::NoModifier, toWindow(view, point));
}

void clickAt(KNOpenGLView& view, QPointF point) {
    pressAt(view, point);
    releaseAt(view, point);
}

void dragFromTo(KNOpenGLView& view, QPointF from, QPointF to) {
    pressAt(view, from);
    moveTo(view, to);
    releaseAt(view, to);
}

void wheel(KNOpenGLView& view, int angleDeltaY, int pixelDeltaY) {
    const QPointF centre(view.width() / 2.0, view.height() / 2.0);
    QWheelEvent event(centre, view.mapToGlobal(centre), QPoint(0, pixelDeltaY),
                      QPoint(0, angleDeltaY), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                      false);
    QCoreApplication::sendEvent(&view, &event);
}

QPointF projectToView(kinora::Scene& scene, kinora::Vector3 position, double viewWidth,
                      double viewHeight) {
    const kinora::Matrix4 modelView = scene.camera.viewMatrix() * scene.transform.modelMatrix();
    const kinora::Vector3 eye = modelView * position;
    const float* p = scene.camera.updateProjection().projection.m;
    const double clip[4] = {
        p[0] * eye.x + p[4] * eye.y + p[8] * eye.z + p[12],
        p[1] * eye.x + p[5] * eye.y + p[9] * eye.z + p[13],
        p[2] * eye.x + p[6] * eye.y + p[10] * eye.z + p[14],
        p[3] * eye.x + p[7] * eye.y + p[11] * eye.z + p[15],
    };
    return QPointF((clip[0] / clip[3] + 1.0) / 2.0 * viewWidth,
                   (clip[1] / clip[3] + 1.0) / 2.0 * viewHeight);
}

QImage pictureOf(kinora::Framebuffer& target) {
    QImage image(target.getWidth(), target.getHeight(), QImage::Format_RGBA8888);
    target.bind();
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glReadPixels(0, 0, image.width(), image.height(), GL_RGBA, GL_UNSIGNED_BYTE, image.bits());
    target.unbind();
    return image.mirrored();
}

int xAxisNamePixelsNear(const QImage& image, double x, double y, int scale) {
    int found = 0;
    for (int dy = -12 * scale; dy <= 12 * scale; ++dy) {
        for (int dx = -12 * scale; dx <= 12 * scale; ++dx) {
            const QPoint at(static_cast<int>(x) + dx, static_cast<int>(y) + dy);
            if (!image.rect().contains(at)) {
                continue;
            }
            const QColor colour = image.pixelColor(at);
            found += colour.red() > 200 && colour.green() < 190 && colour.blue() < 190 ? 1 : 0;
        }
    }
    return found;
}

std::vector<float> readFloatBuffer(unsigned buffer) {
    return glBufferContents<float>(buffer);
}

std::vector<unsigned> readIndexBuffer(unsigned buffer) {
    return glBufferContents<unsigned>(buffer);
}

void RecordingParameterDelegate::parameterSpaceViewBoundsDidChange(KNParameterSpaceView*) {
    ++boundsChanges;
    pathAtLastChange = readFloatBuffer(view->pathMesh->vertexBuffer);
}
