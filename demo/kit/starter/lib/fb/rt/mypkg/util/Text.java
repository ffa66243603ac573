package fb.rt.mypkg.util;

/** Small text helpers for the demo package mypkg.util. */
public final class Text {
    private Text() {
    }

    public static String pad(String s, int width) {
        StringBuilder b = new StringBuilder(s);
        while (b.length() < width)
            b.append(' ');
        return b.toString();
    }
}
