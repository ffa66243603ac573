package fb.rt.hmi;

/** An on/off lamp for the demo package hmi. */
public class Lamp {
    private boolean on;

    public void set(boolean value) {
        on = value;
    }

    public boolean isOn() {
        return on;
    }
}
