package fb.rt.mypkg;

/** Clamps a value to a range; used by the demo blocks. */
public final class Limit {
    private Limit() {
    }

    public static int clamp(int value, int low, int high) {
        return Math.max(low, Math.min(high, value));
    }
}
