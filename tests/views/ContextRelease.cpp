#include "KNOpenGLView.h"
#include "ViewTestSupport.h"

#include <QOpenGLContext>

// Apart from the GL calls of the other files: Qt's GL header and the loader's do not mix.
void releaseCurrentContext() {
    KNOpenGLView::sharedContext()->doneCurrent();
}

bool drawingContextIsCurrent() {
    return QOpenGLContext::currentContext() == KNOpenGLView::sharedContext();
}

bool areDistinctSharingContexts(const KNWindowContext& first, const KNWindowContext& second) {
    QOpenGLContext* drawing = KNOpenGLView::sharedContext();
    return first.context() != nullptr && second.context() != nullptr &&
           first.context() != second.context() &&
           QOpenGLContext::areSharing(first.context(), drawing) &&
           QOpenGLContext::areSharing(second.context(), drawing);
}
