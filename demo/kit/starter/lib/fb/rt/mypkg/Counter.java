package fb.rt.mypkg;

/** A counter block for the demo kit: counts up on each call, resets on demand. */
public class Counter {
    private int count;

    public int up() {
        return ++count;
    }

    public void reset() {
        count = 0;
    }

    public int value() {
        return count;
    }
}
