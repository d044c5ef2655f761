-- Six bouncing balls, each an object with a thread of its own, and a ring of
-- five lamps that wake each other through their pause locks.
-- Space freezes and unfreezes the balls, S saves, L loads, Escape quits.
local lampPicture = loadTexture("ball.png")

function start(id)
    for i = 1, 6 do
        local ball = newObject(0, "ball.lua")
        setKey(ball, "x", 60 + i * 100)
        setKey(ball, "y", 120 + (i % 3) * 90)
        setKey(ball, "vx", (i % 2 == 0 and 1 or -1) * (90 + i * 25))
        setKey(ball, "vy", 70 + i * 30)
        setKey(ball, "colour", i)
        startThread(ball, "start")
    end
    -- The ring: each lamp knows the next one and wakes it when it goes out.
    firstLamp = newObject(0, "lamp.lua")
    for i = 1, 4 do newObject(0, "lamp.lua") end
    for lamp = firstLamp, firstLamp + 4 do
        setKey(lamp, "next", lamp == firstLamp + 4 and firstLamp or lamp + 1)
        startThread(lamp, "start")
    end
    pause(firstLamp, 0.001)  -- ends the first lamp's sleep at the next frame
    frozen, presses = false, 0
    run(id)
end

function resume(id)
    run(id)
end

function run(id)
    while true do
        if keyPressed("space") then
            frozen = not frozen
            presses = presses + 1
        end
        if keyPressed("s") then saveGame("balls.save") end
        if keyPressed("l") then loadGame("balls.save") end
        if keyPressed("escape") then quit() end
        clear({16, 18, 40})
        drawText(20, 16, "Balls and lamps")
        drawText(20, 48, (frozen and "frozen" or "moving") .. ", space pressed " .. presses ..
            " times", {tint = {180, 190, 255}})
        drawText(20, 572, "Space freeze  S save  L load  Esc quit", {scale = 0.75})
        for lamp = firstLamp, firstLamp + 4 do
            local shade = getKey(lamp, "lit") and {255, 240, 120} or {60, 60, 80}
            drawSprite(lampPicture, 290 + (lamp - firstLamp) * 50, 520, {tint = shade})
        end
        wait(nextFrame(id))
    end
end
