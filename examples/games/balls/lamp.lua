-- One lamp of the ring: asleep on a pause that never ends by itself, until
-- the previous lamp cuts it short; then it shines for 0.4 s and wakes the next.
local FOREVER = 1e9

function start(id)
    ring(id, false)
end

-- After a load or a reload: the lamp that was lit finishes its turn.
function resume(id)
    ring(id, getKey(id, "lit"))
end

function ring(id, shining)
    while true do
        if not shining then wait(pause(id, FOREVER)) end
        shining = false
        setKey(id, "lit", true)
        wait(pause(id, 0.4))
        setKey(id, "lit", false)
        pause(getKey(id, "next"), 0.001)
    end
end
