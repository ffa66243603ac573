package fb.rt.net.tcp;

/** Deliberately broken, to show what a failed compile looks like. */
public class Broken {
    public int value() {
        return missing;
    }
}
