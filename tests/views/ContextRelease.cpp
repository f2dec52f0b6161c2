#include "KNOpenGLView.h"
#include "ViewTestSupport.h"

#include <QOpenGLContext>

// Apart from the GL calls of the other files: Qt's GL header and the loader's do not mix.
void releaseCurrentContext() {
    KNOpenGLView::sharedContext()->doneCurrent();
}
